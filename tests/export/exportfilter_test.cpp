// Export filters and their files: round trips, the reading rules, refused
// names and files, property dialogs; the checked file run.
#include "export/exportfilter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "export/rtfexporter.h"
#include "exportenv.h"
#include "songs/uibridge.h"

namespace {

const char* const prolog = "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n";

// The XML text that saving the filter writes.
std::string saved(const ExportFilter& filter) {
    btkXMLNode node;
    filter.save(node);
    return node.toString().c_str();
}

TEST(ExportFilterFile, KindsRoundTrip) {
    ExportFolder folder;
    btkStrings kinds, captions;
    getExportFilterKinds(kinds, captions);
    ASSERT_EQ(kinds.count(), 5);
    for (int i = 0; i < kinds.count(); ++i) {
        std::unique_ptr<ExportFilter> filter = createExportFilter(kinds[i], btkFormat("f%d", i));
        ASSERT_TRUE(filter) << kinds[i].c_str();
        if (auto* rtf = dynamic_cast<RTFFileExportFilter*>(filter.get())) {
            rtf->rtf.exportstyle = RTF_STYLE_SHORT;
            rtf->rtf.fntitle = KxFont{"Čeština", true, false, true, false, 17, 0x336699};
            rtf->text.outacs = true;
        } else if (auto* custom = dynamic_cast<CustomFileExportFilter*>(filter.get())) {
            custom->custom.songsep = "a\nb & <c>";
            custom->custom.endlabel = "]";
            custom->text.textlab = false;
        } else if (auto* online = dynamic_cast<OnlineExportFilter*>(filter.get())) {
            online->online.songsbg = "#FF0000";
            online->online.songType = "";
        }
        ASSERT_TRUE(saveExportFilter(*filter));
        std::unique_ptr<ExportFilter> back = loadExportFilter(btkFormat("f%d.exp", i));
        ASSERT_TRUE(back);
        EXPECT_EQ(saved(*back), saved(*filter)) << kinds[i].c_str();
        EXPECT_EQ(back->asFileFilter() != nullptr, i < 4);
        EXPECT_EQ(back->asDirectoryFilter() != nullptr, i == 4);
    }
    btkStrings names, again;
    listExportFilters(names, again);
    EXPECT_EQ(btkJoin(names, ' '), "f0.exp f1.exp f2.exp f3.exp f4.exp ");
    EXPECT_EQ(btkJoin(again, ' '), btkJoin(names, ' '));
    EXPECT_EQ(saved(HTMLFileExportFilter("h", btkXMLNode())),
              "<html >\n<html />\n<text inacs=\"0\" outacs=\"0\" textlab=\"1\" />\n</html>\n");
}

TEST(ExportFilterFile, ReadingRules) {
    ExportFolder folder;
    folder.write("data/expf/bare.exp", std::string(prolog) + "<txt />\n");
    folder.write("data/expf/rich.exp",
                 std::string(prolog) +
                     "<rtf >\n<rtf exportstyle=\"Short\" >\n<fntitle bold=\"2\" size=\"1073741824\" />\n"
                     "<fnauthor size=\"-5\" color=\"none\" />\n</rtf>\n"
                     "<text inacs=\"7\" />\n</rtf>\n");
    folder.write("data/expf/other.exp", std::string(prolog) + "<pdf />\n");
    auto bare = loadExportFilter("bare");
    ASSERT_TRUE(bare);
    EXPECT_FALSE(dynamic_cast<TXTFileExportFilter&>(*bare).text.textlab);
    auto rich = loadExportFilter("rich");
    ASSERT_TRUE(rich);
    const auto& rtf = dynamic_cast<RTFFileExportFilter&>(*rich);
    EXPECT_EQ(rtf.rtf.exportstyle, RTF_STYLE_NORMAL);
    EXPECT_TRUE(rtf.rtf.fntitle.bold);
    // Sizes a document cannot hold are clamped; no colour is black.
    EXPECT_EQ(rtf.rtf.fntitle.size, maxRTFFontSize);
    EXPECT_EQ(rtf.rtf.fnauthor.size, 10);
    EXPECT_EQ(rtf.rtftext.fntext.size, 10);
    for (const KxFont* font : {&rtf.rtf.fntitle, &rtf.rtf.fnauthor, &rtf.rtftext.fntext}) EXPECT_EQ(font->color, 0);
    EXPECT_EQ(saved(*rich).find("#FFFFFF"), std::string::npos);
    EXPECT_EQ(rtf.rtftext.fntext.name, "");
    EXPECT_TRUE(rtf.text.inacs);
    EXPECT_FALSE(rtf.text.textlab);
    // An unknown kind and a missing file load as nothing, silently, and say
    // why.
    const struct {
        const char* name;
        FilterLoadFailure failure;
    } failures[] = {{"other", FilterLoadFailure::UnknownKind}, {"missing", FilterLoadFailure::Missing}};
    for (const auto& f : failures) {
        FilterLoadFailure failure = FilterLoadFailure::None;
        EXPECT_FALSE(loadExportFilter(f.name, &failure)) << f.name;
        EXPECT_EQ(failure, f.failure) << f.name;
    }
    EXPECT_FALSE(createExportFilter("pdf", "new"));
    EXPECT_TRUE(folder.boxes().empty());
    // A new filter under an existing file's name takes the settings it
    // shares with it and saves its own kind.
    auto txt = createExportFilter("txt", "rich");
    ASSERT_TRUE(txt);
    EXPECT_TRUE(dynamic_cast<TXTFileExportFilter&>(*txt).text.inacs);
    EXPECT_EQ(saved(*txt), "<txt >\n<text inacs=\"1\" outacs=\"0\" textlab=\"0\" />\n</txt>\n");
    // A new RTF filter over another kind's file keeps its default fonts.
    folder.write("data/expf/plain.exp", std::string(prolog) + "<txt >\n<text inacs=\"1\" />\n</txt>\n");
    auto overTxt = createExportFilter("rtf", "plain");
    ASSERT_TRUE(overTxt);
    const auto& fresh = dynamic_cast<RTFFileExportFilter&>(*overTxt);
    EXPECT_TRUE(fresh.text.inacs);
    EXPECT_EQ(fresh.rtftext.fntext.name, "Courier");
    EXPECT_EQ(saved(fresh).find("#FFFFFF"), std::string::npos);
}

TEST(ExportFilterFile, RefusedNamesAndFiles) {
    ExportFolder folder;
    for (const char* name : {"", ".hidden", "../up", "a/b", "a\\b", "a..b"}) {
        btkDefaultMessageBoxes().reset();
        EXPECT_FALSE(IsValidExportFilterName(name)) << name;
        EXPECT_FALSE(createExportFilter("txt", name)) << name;
        EXPECT_FALSE(loadExportFilter(name)) << name;
        EXPECT_FALSE(saveExportFilter(TXTFileExportFilter(name, btkXMLNode()))) << name;
        EXPECT_EQ(folder.boxes().size(), 3u) << name;
    }
    EXPECT_TRUE(IsValidExportFilterName("Můj filtr.v2"));
    EXPECT_FALSE(std::filesystem::exists(folder.path("up.exp")));

    // A broken file is refused with its name, by loading and by creating.
    folder.write("data/expf/broken.exp", std::string(prolog) + "<txt><text></txt>");
    btkDefaultMessageBoxes().reset();
    FilterLoadFailure failure = FilterLoadFailure::None;
    EXPECT_FALSE(loadExportFilter("broken", &failure));
    EXPECT_EQ(failure, FilterLoadFailure::Shown);
    EXPECT_FALSE(createExportFilter("txt", "broken.exp"));
    ASSERT_EQ(folder.boxes().size(), 2u);
    EXPECT_NE(folder.boxes()[0].find("broken.exp"), std::string::npos);

    // Saving into a missing folder fails with a box and writes nothing.
    std::filesystem::remove_all(folder.path("data/expf"));
    btkDefaultMessageBoxes().reset();
    EXPECT_FALSE(saveExportFilter(TXTFileExportFilter("t", btkXMLNode())));
    EXPECT_EQ(folder.boxes().size(), 1u);
}

// Property dialogs that confirm and change one setting.
struct ConfirmingDialogs : ExportFilterDialogs {
    bool editRTF(RTFExporterProps& rtf, RTFSongExporterProps&, TextExporterProps&) override {
        rtf.exportstyle = RTF_STYLE_SHORT;
        return true;
    }
    bool editCustom(TextExporterProps&, CustomExporterProps& custom) override {
        custom.begindoc = "x";
        return true;
    }
};

TEST(ExportFilterFile, PropertyDialogs) {
    ExportFolder folder;
    RTFFileExportFilter rtf("r", btkXMLNode());
    CustomFileExportFilter custom("c", btkXMLNode());
    TXTFileExportFilter txt("t", btkXMLNode());
    // Headless: nothing to confirm, nothing changes.
    EXPECT_FALSE(rtf.editProperties());
    EXPECT_FALSE(custom.editProperties());
    EXPECT_TRUE(folder.boxes().empty());
    ConfirmingDialogs dialogs;
    gExportFilterDialogs = &dialogs;
    EXPECT_TRUE(rtf.editProperties());
    EXPECT_TRUE(custom.editProperties());
    EXPECT_FALSE(txt.editProperties());
    gExportFilterDialogs = nullptr;
    EXPECT_EQ(rtf.rtf.exportstyle, RTF_STYLE_SHORT);
    EXPECT_EQ(custom.custom.begindoc, "x");
    EXPECT_EQ(folder.boxes(), std::vector<std::string>{"Exportovací filtr nemá žádné upravitelné vlastnosti"});
}

TEST(ExportRun, FailedWritesAreReported) {
    ExportFolder folder;
    SongSet set({{"a", "b", "[C]x"}});
    TXTFileExportFilter txt("t", btkXMLNode());
    ASSERT_TRUE(exportToFile(txt, set.data, folder.path("out.txt").c_str()));
    EXPECT_EQ(folder.read("out.txt"), "a\nb\nC\nx\n");
    // A file in a missing folder: an error box naming it, failure.
    EXPECT_FALSE(exportToFile(txt, set.data, folder.path("no/out.txt").c_str()));
    ASSERT_EQ(folder.boxes().size(), 1u);
    EXPECT_NE(folder.boxes()[0].find("no/out.txt"), std::string::npos);
    // A stream that failed reports it.
    btkFileWriteStream closed(folder.path("no/x").c_str(), "wb");
    EXPECT_FALSE(exportToStream(txt, set.data, closed));
}

}  // namespace
