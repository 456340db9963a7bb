// The song view: chords above the syllables they precede, labels beside
// their lines, a new layout for a new width and for new fonts.
#include <map>
#include <regex>
#include <string>

#include "app/song/songvfrm.h"
#include "appenv.h"
#include "songs/appservices.h"
#include "songs/uibridge.h"
#include "tests/support/canvas_doubles.h"

namespace {

struct Place {
    int x = -1;
    int y = -1;
};

// Where each text of the view's recording is drawn (the last place of a
// text drawn twice).
std::map<std::string, Place> drawnTexts(Tsongvfrm& view) {
    kx6test::LoggingCanvas canvas;
    view.drawing().play(btkCanvas(0, 0, canvas.sp()));
    std::map<std::string, Place> texts;
    const std::regex entry(R"(text\((-?\d+),(-?\d+),(.*)\))");
    for (const std::string& line : canvas.log()) {
        std::smatch m;
        if (std::regex_match(line, m, entry)) texts[m[3]] = {std::stoi(m[1]), std::stoi(m[2])};
    }
    return texts;
}

class SongViewTest : public AppTest {};

TEST_F(SongViewTest, ChordsStandAboveTheirSyllablesAndTheLayoutFollowsWidthAndFonts) {
    folder.write("options.xml",
                 "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<options >\n"
                 "<view slspacehi=\"50\" ><fonts ><fntext size=\"11\" name=\"DejaVu Sans\" />"
                 "<fnacs size=\"9\" bold=\"1\" /></fonts></view>\n</options>\n");
    start();
    Tsongvfrm view(nullptr);
    view.resize(400, 300);
    view.show();
    view.setSongText(".1.\n[G]Holka modro[D]oká,\nnesedávej u potoka\n");
    auto texts = drawnTexts(view);
    for (const char* text : {"G", "Holka", "modro", "D", "oká,", "1.", "nesedávej"})
        ASSERT_TRUE(texts.count(text)) << text;
    EXPECT_EQ(texts["G"].x, texts["Holka"].x);
    EXPECT_EQ(texts["D"].x, texts["oká,"].x);
    EXPECT_GT(texts["oká,"].x, texts["modro"].x);
    EXPECT_LT(texts["G"].y, texts["Holka"].y);
    EXPECT_EQ(texts["D"].y, texts["G"].y);
    // The label stands beside the lyrics, which start behind it.
    EXPECT_EQ(texts["1."].y, texts["Holka"].y);
    EXPECT_GT(texts["Holka"].x, 0);
    EXPECT_GT(texts["nesedávej"].y, texts["Holka"].y);
    const int height = view.layoutHeight();
    EXPECT_GT(height, texts["nesedávej"].y);

    // A narrow frame wraps the lines; bigger fonts from the options take
    // effect when the options are confirmed.
    view.resize(90, 300);
    EXPECT_GT(view.layoutHeight(), height);
    view.resize(400, 300);
    EXPECT_EQ(view.layoutHeight(), height);
    OptionsRoot().getChild("view").getChild("fonts").getChild("fntext").setIntAttr("size", 30);
    KxCommonEvent changed{KX_EVENT_OPTIONS_CHANGED};
    BroadcastCommonEvent(changed);
    EXPECT_GT(view.layoutHeight(), height);

    view.setSongText("");
    EXPECT_EQ(view.layoutHeight(), 0);
    EXPECT_EQ(view.drawing().recording().count(), 0);
}

}  // namespace
