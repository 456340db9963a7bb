// A canvas that records its drawing calls and replays them later through any
// canvas handle (at that handle's origin). Measuring is not recorded: it
// answers 0, see btkStdMetaCanvas for recording with real measuring.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkcanvas.h"

class btkMetaCanvas : public btkRealCanvas {
public:
    // One recorded call; play repeats it through the handle.
    class Item {
    public:
        virtual ~Item() = default;
        virtual void play(btkCanvas& canvas) = 0;
    };

    btkMetaCanvas() = default;

    void setFg(btkColor c) override;
    void setBg(btkColor c) override;
    void setPenWi(int width) override;
    void pixel(int x, int y, btkColor c) override;
    void line(int x1, int y1, int x2, int y2) override;
    void rect(int x1, int y1, int x2, int y2) override;
    void ell(int x1, int y1, int x2, int y2) override;
    void polygon(const btkPoint* points, int n) override;
    // Records a clone: a font changed or deleted later does not change the replay.
    void setFont(btkFont* font) override;
    void text(int x, int y, const btkstring& s) override;
    void charOut(int x, int y, char c, int extra) override;
    // Records op's copy at (x, y); the replay hands it the replay handle
    // itself, so the handle's origin is added exactly once.
    void custom(btkCustomGrOp* op, int x, int y) override;

    // Repeats every item, first recorded first.
    void play(btkCanvas canvas);
    void play(btkCanvas* canvas);
    void clear() { items.clear(); }
    int count() const { return items.count(); }

private:
    void record(Item* item) { items.add(item); }

    btkObjArray<Item> items;
};
