// The web directory beside its golden copy: progress texts and positions, a
// cancel, a file that cannot be written, an empty run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "export/exportfilter.h"
#include "exportenv.h"
#include "songs/appservices.h"

namespace {

// Records the steps; answers "cancelled" from the given step on.
struct RecordingProgress : KxProgressWindow {
    void start(const char*, const char*, int, bool) override {}
    bool step(int position, const char* text) override {
        steps.emplace_back(position, text);
        return static_cast<int>(steps.size()) < cancelAt;
    }
    void close() override {}
    std::vector<std::pair<int, std::string>> steps;
    int cancelAt = 1000;
};

class WebDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        gProgressWindow = &progress;
        std::filesystem::create_directories(folder.path("web"));
    }
    void TearDown() override { gProgressWindow = nullptr; }
    // n songs "s0".. in groups "A" (even) and "B" (odd).
    void makeSongs(int n) {
        for (int i = 0; i < n; ++i) {
            owned.push_back(std::make_unique<KxSong>());
            owned.back()->title = btkFormat("s%d", i);
            owned.back()->group = i % 2 ? "B" : "A";
            songs.add(owned.back().get());
        }
    }
    bool run() { return exportToDirectory(filter, songs, folder.path("web").c_str()); }

    ExportFolder folder;
    RecordingProgress progress;
    OnlineExportFilter filter{"web", btkXMLNode()};
    std::vector<std::unique_ptr<KxSong>> owned;
    btkCntVec<KxSong*> songs;
};

TEST_F(WebDirectoryTest, ProgressEveryThirtyTwoItems) {
    makeSongs(33);
    ASSERT_TRUE(run());
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "Probíhá příprava"},           {1, "Zapisuji grplist.html"}, {2, "Zapisuji skupinu A"},
        {5, "Zapisuji píseň s0"},          {92, "Zapisuji píseň s32"},   {96, "Zapisuji title-songs.html"},
        {97, "Zapisuji group-songs.html"}, {98, "Zapisuji index.html"},  {99, "Hotovo"}};
    EXPECT_EQ(progress.steps, expected);
    EXPECT_TRUE(std::filesystem::exists(folder.path("web/data/song32.html")));
    EXPECT_TRUE(folder.boxes().empty());
}

TEST_F(WebDirectoryTest, CancelStopsTheRun) {
    makeSongs(2);
    progress.cancelAt = 3;  // while the first group is about to be written
    EXPECT_FALSE(run());
    EXPECT_TRUE(std::filesystem::exists(folder.path("web/grplist.html")));
    EXPECT_FALSE(std::filesystem::exists(folder.path("web/data/grp0.html")));
    EXPECT_EQ(folder.boxes(), std::vector<std::string>{"Export se nezdařil"});
    // A cancel after everything was written changes nothing.
    progress.steps.clear();
    progress.cancelAt = 8;  // the eighth step is "Hotovo"
    btkDefaultMessageBoxes().reset();
    EXPECT_TRUE(run());
}

TEST_F(WebDirectoryTest, UnwritableFileFailsTheRun) {
    makeSongs(1);
    std::filesystem::create_directories(folder.path("web/title-songs.html/x"));
    EXPECT_FALSE(run());
    ASSERT_EQ(folder.boxes().size(), 1u);
    EXPECT_EQ(folder.boxes()[0].rfind("Export se nezdařil\n", 0), 0u);
    EXPECT_NE(folder.boxes()[0].find("title-songs.html"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.path("web/group-songs.html")));
}

TEST_F(WebDirectoryTest, SongsWithoutAGroupHaveAVisibleLink) {
    makeSongs(1);
    owned[0]->group = "";
    ASSERT_TRUE(run());
    EXPECT_NE(folder.read("web/grplist.html").find("target=\"songsframe\">(bez skupiny)</A>"), std::string::npos);
    // The entry page names the three frames the other pages' links target.
    const std::string index = folder.read("web/index.html");
    for (const char* frame : {"name=\"listframe\" src=\"grplist.html\"", "name=\"songsframe\"", "name=\"songframe\""})
        EXPECT_NE(index.find(frame), std::string::npos) << frame;
}

TEST_F(WebDirectoryTest, EmptyRunWritesListsOnly) {
    ASSERT_TRUE(run());
    const std::string head =
        "<HTML>\n<HEAD>\n<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1250\">\n"
        "<meta name=\"generator\" content=\"Kantorix\">\n</HEAD>\n<BODY>\n";
    EXPECT_EQ(folder.read("web/grplist.html"), head + "</HTML>\n</BODY>\n");
    EXPECT_EQ(folder.read("web/title-songs.html"),
              head +
                  "<table><tr><th>Název</th><th><a href=\"group-songs.html\">Skupina</a></th>"
                  "<th>Autor</th></tr>\n</table></HTML>\n</BODY>\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path("web/data")));
}

}  // namespace
