// The fresh program folder of dist/: the program starts on it without an
// error, its options hold every top-level node the windows own, and its
// sample database holds songs with chords and labels.
#include <cstring>
#include <filesystem>

#include <QComboBox>

#include "app/main/mainfrm.h"
#include "app/program.h"
#include "appenv.h"
#include "foundation/btkxml.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/uibridge.h"

namespace {

class DistTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        std::filesystem::copy(
            KX6_SOURCE_DIR "/dist", folder.path().c_str(),
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }
};

TEST_F(DistTest, StartsWithTheSampleDatabaseAndEveryOptionsNode) {
    start();
    EXPECT_FALSE(gTerminateRequested);
    EXPECT_TRUE(boxes().shown().empty());
    ASSERT_EQ(mainfrm->dbs->count(), 1);
    EXPECT_EQ(btkFromQString(mainfrm->dbs->currentText()), btkstring("lidovky.xml"));

    for (const char* node : {"settings", "view", "print", "mainwin.list", "showsonglist", "songsubsetlist",
                             "importwin.list", "chorddifs", "custom_order"})
        EXPECT_GE(OptionsRoot().indexOfChild(node), 0) << node;
    btkXMLNode mainwin = OptionsRoot().childByName("settings").childByName("mainwin");
    EXPECT_GE(mainwin.indexOfChild("actions"), 0);
    EXPECT_EQ(mainwin.attr("songv.color"), btkstring("White"));
    btkXMLNode chords = OptionsRoot().childByName("chorddifs");
    for (const char* type : {"dur", "moll", "dur7", "dur6", "moll7", "moll6", "dur9", "dim", "maj", "plus"})
        EXPECT_TRUE(chords.childByName(type).hasAttr("fis")) << type;
    EXPECT_EQ(OptionsRoot().childByName("view").childByName("fonts").childByName("fntext").attr("name"),
              btkstring("DejaVu Sans"));

    btkCntVec<KxSong*> songs;
    gMainWin->getListSongs(songs);
    ASSERT_GE(songs.count(), 30);
    int refrains = 0;
    for (KxSong* song : songs) {
        EXPECT_NE(std::strchr(song->text, '['), nullptr) << song->title.c_str();
        EXPECT_TRUE(song->text.startsWith(".1.\n")) << song->title.c_str();
        if (std::strstr(song->text, "\n.R:\n")) ++refrains;
    }
    EXPECT_GT(refrains, 0);

    // Closing writes the options back and leaves the database alone.
    const btkstring db = folder.read("db/lidovky.xml");
    EXPECT_TRUE(mainfrm->close());
    EXPECT_EQ(folder.read("db/lidovky.xml"), db);
    btkXMLNode saved;
    saved.load(folder.path("options.xml"));
    EXPECT_EQ(saved.intAttr("db"), 0);
    EXPECT_GE(saved.indexOfChild("chorddifs"), 0);
}

}  // namespace
