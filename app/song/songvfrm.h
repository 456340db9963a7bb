// Tsongvfrm: one song text formatted as on paper (lyrics with the chords
// above them, label lines, the fonts and spacing of the options) in a
// scroll area. The frame does not know songs: it is given a text that
// already carries the wanted transposition.
//
// Formatting runs only when the text, the width or the options change; it
// records the drawing, and painting only replays the recording.
#pragma once

#include <QWidget>

#include "foundation/btkredirectcanvas.h"
#include "foundation/btkstring.h"
#include "foundation/btkxml.h"
#include "foundation/qt/btkqtfont.h"
#include "songs/appservices.h"

class QScrollArea;
class Tsongvfrm;

// The paint box inside the scroll area: replays the frame's recording.
class SongPaintBox : public QWidget {
public:
    SongPaintBox(Tsongvfrm* frame, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Tsongvfrm* frame;
};

class Tsongvfrm final : public QWidget {
public:
    explicit Tsongvfrm(QWidget* parent);
    ~Tsongvfrm() override;

    // Stores the text (line feeds only, chords in brackets) and lays it
    // out; an empty text shows nothing.
    void setSongText(const char* text);
    const btkstring& getSongText() const { return text; }
    // Reads the lyrics, chord and label fonts from view/fonts of the
    // options; a missing font keeps the widget's font.
    void loadSettings();
    // Formats the text for the frame's width with the view options of the
    // moment into the recording, sizes the paint box and repaints it.
    void layOut();
    // The height of the formatted text, 0 for an empty one.
    int layoutHeight() const { return height; }
    // The recorded drawing; replayed onto the paint box at its origin.
    btkStdMetaCanvas& drawing() { return recording; }

    // The common handler: options changed reloads the fonts; every event
    // lays the text out again.
    void commonEvent(KxCommonEvent& event);

    QScrollArea* scr = nullptr;
    SongPaintBox* pp = nullptr;
    btkVCLFont fntext;
    btkVCLFont fnacs;
    btkVCLFont fnlab;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    btkStdMetaCanvas recording;
    btkstring text;
    TPrivateCommonHandler<Tsongvfrm> commonHandler;
    int height = 0;
};
