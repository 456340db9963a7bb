// Logical page previews: counts, captions and what each preview page draws.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "songbook/kxtype.h"
#include "songbook/logpagepreview.h"
#include "tests/support/fake_printer.h"

namespace {

// Keeps the texts drawn on it as "text@x,y".
class TextCollector : public btkRealCanvas {
public:
    void text(int x, int y, const btkstring& s) override {
        out += " " + std::string(s.c_str()) + "@" + std::to_string(x) + "," + std::to_string(y);
    }
    std::string out;
};

// n logical pages; page i draws "p<i>" at (0, 0).
std::unique_ptr<btkLogPages> makePages(int n) {
    auto pages = std::make_unique<btkLogPages>(100);
    for (int i = 0; i < n; ++i) {
        pages->startPage().text(0, 0, ("p" + std::to_string(i)).c_str());
        pages->endPage();
    }
    return pages;
}

// Every preview page as "caption:" and its texts, parted by " | ".
std::string describe(const LogPagePreview& preview) {
    std::string out;
    for (int i = 0; i < preview.count(); ++i) {
        TextCollector c;
        preview.draw(i, btkCanvas(0, 0, c.sp()));
        out += (i ? " | " : "") + std::string(preview.caption(i).c_str()) + ":" + c.out;
    }
    return out;
}

}  // namespace

// Logical pages 100 wide.
TEST(Preview, CountsCaptionsAndPages) {
    const struct {
        char kind;  // b booklet, s simple, l rows of two
        int pages;
        const char* preview;
    } cases[] = {
        {'b', 0, "Strana ?,?:"},
        {'b', 1, "Strana ?,1: p0@100,0"},
        {'b', 3, "Strana ?,1: p0@100,0 | Strana 2,3: p1@0,0 p2@100,0"},
        {'b', 4, "Strana ?,1: p0@100,0 | Strana 2,3: p1@0,0 p2@100,0 | Strana 4,?: p3@0,0"},
        {'s', 0, ""},
        {'s', 3, "Strana 1/3: p0@0,0 | Strana 2/3: p1@0,0 | Strana 3/3: p2@0,0"},
        {'l', 0, ""},
        {'l', 5, "Strana 1..2: p0@0,0 p1@100,0 | Strana 3..4: p2@0,0 p3@100,0 | Strana 5..6: p4@0,0"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<btkLogPages> pages = makePages(c.pages);
        auto source = [&pages] { return pages.get(); };
        std::unique_ptr<LogPagePreview> preview;
        if (c.kind == 'b') preview = std::make_unique<BookLogPagePreview>(source, 100, 50);
        if (c.kind == 's') preview = std::make_unique<SimpleLogPagePreview>(source, 100, 50);
        if (c.kind == 'l') preview = std::make_unique<LineLogPagePreview>(source, 100, 50, 2);
        EXPECT_EQ(describe(*preview), c.preview) << c.kind << " " << c.pages;
    }
}

// The type chooses the kind; the size follows the logical page size of a
// 1200 x 1400 printer without margins.
TEST(Preview, KindAndSizeFromType) {
    const struct {
        int a4distrib, hcnt;
        int width;
        const char* caption;  // of the first preview page
    } cases[] = {
        {1, 3, 1200, "Strana 1..3"},
        {0, 2, 1200, "Strana ?,?"},
        {0, 3, 400, "Strana 1/0"},
    };
    kx6test::FakePrinter printer(1200, 1400, 4);
    for (const auto& c : cases) {
        BaseKxType type;
        type.a4distrib = c.a4distrib;
        type.hcnt = c.hcnt;
        type.vcnt = 1;
        auto preview = MakeLogPagePreview(type, printer, [] { return nullptr; });
        int w = 0, h = 0;
        preview->size(&w, &h);
        EXPECT_EQ(w, c.width) << c.caption;
        EXPECT_EQ(h, 1400) << c.caption;
        EXPECT_STREQ(preview->caption(0).c_str(), c.caption);
    }
}
