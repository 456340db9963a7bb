#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstream.h"
#include "io_test_support.h"

namespace {

// The names a listing finds, blank-separated.
std::string listed(const std::string& pattern) {
    btkFileList list(pattern.c_str());
    std::string all;
    for (int i = 0; i < list.count(); ++i) all += (i ? " " : "") + std::string(list[i].c_str());
    return all;
}

}  // namespace

TEST(Path, NormalFormUsesSlashes) {
    // The root stays the root.
    const struct {
        const char *given, *normal;
    } rows[] = {
        {"C:\\data\\", "C:/data"},
        {"C:/data/", "C:/data"},
        {"db\\songs.xml", "db/songs.xml"},
        {"/", "/"},
        {"\\", "/"},
        {"", ""},
    };
    for (const auto& r : rows) EXPECT_EQ(btkFile(r.given), r.normal) << r.given;
    btkFile f;
    f = "a\\b\\";
    EXPECT_EQ(f, "a/b");
}

TEST(Path, ExtensionsAndParts) {
    btkFile p("/home/u/my.dir/songs");
    EXPECT_EQ(p.ext(), "");  // the only point lies in a folder name
    EXPECT_EQ(p.changeExt("bak"), "/home/u/my.dir/songs.bak");
    btkFile x("db/Songs.XGZ");
    EXPECT_EQ(x.ext(), "XGZ");
    EXPECT_TRUE(x.hasExt("xgz") && x.hasExt(".xgz"));
    EXPECT_FALSE(x.hasExt("xg"));
    for (auto [ext, changed] : {std::pair{"xml", "db/Songs.xml"}, {".xml", "db/Songs.xml"}, {"", "db/Songs"}})
        EXPECT_EQ(x.changeExt(ext), changed) << ext;
    EXPECT_EQ(x.fileName(), "Songs.XGZ");
    EXPECT_EQ(x.dirPart(), "db");
    btkFile bare("songs.xml");
    EXPECT_EQ(bare.dirPart(), "");
    EXPECT_EQ(bare.fileName(), "songs.xml");
    bare.cutToDir();
    EXPECT_EQ(bare, "songs.xml");
    x.cutToDir();
    EXPECT_EQ(x, "db");
}

TEST(Path, AppendAndJoin) {
    btkFile dir("/opt/kx6");
    EXPECT_EQ(dir.join("db\\a.xml"), "/opt/kx6/db/a.xml");
    EXPECT_EQ(dir.join("/etc/x"), "/etc/x");
    EXPECT_EQ(dir.join("C:\\x"), "C:/x");
    EXPECT_EQ(btkFile().join("cfg"), "cfg");
    EXPECT_EQ(btkFile("/").join("tmp"), "/tmp");
    btkPath p("a");
    p.append("b");
    EXPECT_EQ(p, "a/b");
    EXPECT_TRUE(btkIsAbsolute("\\x") && btkIsAbsolute("d:/x"));
    EXPECT_FALSE(btkIsAbsolute("d:x") || btkIsAbsolute(""));
}

TEST(Path, PlainFileNamesTypedByTheUser) {
    for (const char* name : {"inet.xml", "moje písně", "a..b"}) EXPECT_TRUE(btkIsPlainFileName(name)) << name;
    for (const char* name : {"", ".", "..", ".hidden", "../x", "a/b", "a\\b", "/etc/passwd"})
        EXPECT_FALSE(btkIsPlainFileName(name)) << name;
}

TEST(Files, ExistsIsFalseForFoldersAndMissingFiles) {
    TempDir dir;
    std::string f = dir.path("a.txt");
    writeBytes(f, "x");
    EXPECT_TRUE(btkFileExists(f.c_str()));
    EXPECT_FALSE(btkFileExists(dir.path().c_str()));
    EXPECT_FALSE(btkFileExists(dir.path("none").c_str()));
    EXPECT_TRUE(btkIsDirectory(dir.path().c_str()));
    EXPECT_FALSE(btkIsDirectory(f.c_str()));
    FILE* open = std::fopen(f.c_str(), "rb");
    ASSERT_TRUE(open);
    EXPECT_EQ(btkFileSize(open), 1);
    std::fclose(open);
}

TEST(Files, TextFilesRoundTripWithCRLFOnDisk) {
    TempDir dir;
    std::string f = dir.path("autologin.txt");
    EXPECT_TRUE(btkWriteTextFile(f.c_str(), "login\nABCD\n"));
    EXPECT_EQ(readBytes(f), "login\r\nABCD\r\n");
    EXPECT_EQ(btkReadTextFile(f.c_str()), "login\nABCD\n");
    EXPECT_EQ(btkReadTextFile(dir.path("none").c_str()), "");
    // Replacing keeps the file's permissions.
    chmod(f.c_str(), 0640);
    EXPECT_TRUE(btkWriteTextFile(f.c_str(), "new"));
    struct stat st;
    ASSERT_EQ(stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(listFolder(dir.path()), "autologin.txt");
}

TEST(Files, SavingOntoALinkReplacesItsTarget) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.path("real").c_str(), 0777), 0);
    writeBytes(dir.path("real/options.xml"), "old");
    ASSERT_EQ(symlink("real/options.xml", dir.path("options.xml").c_str()), 0);
    EXPECT_TRUE(btkWriteTextFile(dir.path("options.xml").c_str(), "new"));
    struct stat st;
    ASSERT_EQ(lstat(dir.path("options.xml").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readBytes(dir.path("real/options.xml")), "new");
    EXPECT_EQ(listFolder(dir.path("real")), "options.xml");
}

TEST(Files, FailedTextSaveReportsFalseAndKeepsTheOldFile) {
    TempDir dir;
    EXPECT_FALSE(btkWriteTextFile(dir.path("missing/x.txt").c_str(), "x"));
    EXPECT_FALSE(btkWriteTextFile(dir.path().c_str(), "x"));
    std::string f = dir.path("keep.txt");
    writeBytes(f, "old");
    std::string big(10000, 'x');
    EXPECT_EQ(runWithFileSizeLimit(1000,
                                   [&] {
                                       if (!btkWriteTextFile(f.c_str(), big.c_str())) throw btkError("false");
                                   }),
              "error");
    EXPECT_EQ(readBytes(f), "old");
    EXPECT_EQ(listFolder(dir.path()), "keep.txt");
}

TEST(Files, SaveFileFormatsAndWriterExceptions) {
    TempDir dir;
    std::string gz = dir.path("songs.xgz");
    btkSaveFile(gz.c_str(), btkSaveFormat::GZip, [](btkWriteStream& out) { out << "a\nb"; });
    btkGZReadStream in(gz.c_str(), "rb");
    EXPECT_EQ(readAll(in), "a\nb");
    EXPECT_EQ(static_cast<unsigned char>(readBytes(gz)[0]), 0x1f);

    std::string bin = dir.path("songs.xml");
    btkSaveFile(bin.c_str(), btkSaveFormat::Binary, [](btkWriteStream& out) { out << "a\nb"; });
    EXPECT_EQ(readBytes(bin), "a\nb");
    // A new file gets the permissions the umask allows.
    const mode_t mask = umask(0);
    umask(mask);
    struct stat st;
    ASSERT_EQ(stat(bin.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

    // An exception of the writer leaves the old file and no temporary file.
    EXPECT_THROW(btkSaveFile(bin.c_str(), btkSaveFormat::Binary,
                             [](btkWriteStream& out) {
                                 out << "partial";
                                 throw btkError("stop");
                             }),
                 btkError);
    EXPECT_EQ(readBytes(bin), "a\nb");
    EXPECT_EQ(listFolder(dir.path()), "songs.xgz songs.xml");
    try {
        btkSaveFile("", btkSaveFormat::Binary, [](btkWriteStream&) {});
        ADD_FAILURE();
    } catch (const btkError& e) {
        EXPECT_EQ(e.message(), btkstring("Soubor nelze uložit: chybí jméno souboru."));
    }

    // A stream that failed on the way makes the save fail.
    EXPECT_EQ(runWithFileSizeLimit(100,
                                   [&] {
                                       btkSaveFile(gz.c_str(), btkSaveFormat::GZip, [](btkWriteStream& out) {
                                           for (int i = 0; i < 20000; ++i) out.writeInt(i * 7919);
                                       });
                                   }),
              "error");
    btkGZReadStream again(gz.c_str(), "rb");
    EXPECT_EQ(readAll(again), "a\nb");
}

// A save killed on the way leaves its temporary file; the next successful
// save of that file removes such files and nothing else. A user's or another
// tool's file named like one stays, and so do another file's temporary file,
// a folder, and the file of a save still running (its lock is held).
TEST(Files, SaveRemovesOnlyItsOwnAbandonedTemporaryFiles) {
    TempDir dir;
    const std::string f = dir.path("songs.xml");
    const auto interruptedSave = [&] {
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child == 0)
            btkSaveFile(f.c_str(), btkSaveFormat::Binary, [](btkWriteStream& out) {
                out << "half";
                _exit(0);
            });
        waitpid(child, nullptr, 0);
    };
    interruptedSave();
    // The leftover's name without the six characters mkstemp chose.
    const std::string leftover = listFolder(dir.path());
    ASSERT_EQ(leftover.rfind(".songs.xml.", 0), 0u) << leftover;
    ASSERT_EQ(leftover.find(' '), std::string::npos) << leftover;
    const std::string stem = leftover.substr(0, leftover.size() - 6);
    interruptedSave();

    std::vector<std::string> kept = {
        ".songs.xml.backup", ".songs.xml.old001",
        ".songs.xml.tmp",    ".songs.xml.a1B2c3",
        "songs.xml.abc123",  ".other.xml" + stem.substr(std::string(".songs.xml").size()) + "abc123",
        stem + "abc12",      stem + "abc1234",
        stem + "Held99",
    };
    for (const std::string& name : kept) writeBytes(dir.path(name), "x");
    kept.push_back(stem + "dir123");
    ASSERT_EQ(mkdir(dir.path(stem + "dir123").c_str(), 0777), 0);
    const int held = open(dir.path(stem + "Held99").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    btkSaveFile(f.c_str(), btkSaveFormat::Binary, [](btkWriteStream& out) { out << "whole"; });
    close(held);
    kept.push_back("songs.xml");
    std::sort(kept.begin(), kept.end());
    std::string expected;
    for (const std::string& name : kept) expected += (expected.empty() ? "" : " ") + name;
    EXPECT_EQ(listFolder(dir.path()), expected);
    EXPECT_EQ(readBytes(f), "whole");
}

TEST(Files, MakeDirsCreatesEveryMissingLevel) {
    TempDir dir;
    std::string deep = dir.path("a/b/c");
    btkMakeDirs(deep.c_str());
    EXPECT_TRUE(btkIsDirectory(deep.c_str()));
    btkMakeDirs(deep.c_str());              // exists: nothing happens
    EXPECT_TRUE(btkMakeDir(deep.c_str()));  // a second creation fails
    EXPECT_FALSE(btkMakeDir(dir.path("d").c_str()));
}

TEST(Files, ListingMatchesWithoutCaseSkipsFoldersAndSorts) {
    TempDir dir;
    for (const char* name : {"b.xml", "A.XML", "c.xgz", "d.xml.bak", ".hidden.xml", "noext"})
        writeBytes(dir.path(name), "");
    mkdir(dir.path("folder.xml").c_str(), 0777);
    EXPECT_EQ(listed(dir.path() + "/*.xml"), "A.XML b.xml");
    btkFileList all((dir.path() + "\\*.*").c_str());
    EXPECT_EQ(all.count(), 5);
    EXPECT_EQ(listed(dir.path() + "/?.xgz"), "c.xgz");
    EXPECT_EQ(listed(dir.path() + "/*.kxtype"), "");
    EXPECT_EQ(listed(dir.path("missing/*.xml")), "");
    // Names longer than the old 512-byte record.
    std::string longName(200, 'l');
    std::string longDir = dir.path(std::string(200, 'p')) + "/" + std::string(200, 'q');
    btkMakeDirs(longDir.c_str());
    writeBytes(longDir + "/" + longName + ".xml", "");
    EXPECT_EQ(listed(longDir + "/*.XML"), longName + ".xml");
}

TEST(Files, WildcardMatching) {
    const struct {
        const char *pattern, *name;
        bool match;
    } rows[] = {
        {"*", "", true},           {"*.x*", "a.b.xyz", true}, {"a*b*c", "aXbYbc", true},
        {"a*b*c", "aXbYb", false}, {"?", "", false},          {"Ab?", "aBc", true},
    };
    for (const auto& r : rows) EXPECT_EQ(btkWildcardMatch(r.pattern, r.name), r.match) << r.pattern << " " << r.name;
}

TEST(Files, ProgramDirComesFromTheEnvironmentOrCanBeSet) {
    // The first reading decides; tests may set it explicitly afterwards.
    const btkFile& dir = programDir();
    const char* env = std::getenv("KX6_DIR");
    if (env && *env)
        EXPECT_EQ(dir, btkFile(env));
    else
        EXPECT_TRUE(btkIsDirectory(dir));
    setProgramDir("/opt/kx6/");
    EXPECT_EQ(programDir(), "/opt/kx6");
    EXPECT_EQ(programDir().join("options.xml"), "/opt/kx6/options.xml");
}

TEST(MessageBoxes, DefaultBackendAnswersFromTheScript) {
    btkScriptedMessageBoxes& boxes = btkDefaultMessageBoxes();
    boxes.reset();
    boxes.quiet = true;
    boxes.answer(btkID_YES);
    boxes.answer(btkID_NO);
    EXPECT_EQ(QuestionBox("Uložit?", "ync"), 1);
    EXPECT_EQ(QuestionBox("Uložit?", "yn"), 2);
    // Unscripted: the answer that changes nothing.
    EXPECT_EQ(QuestionBox("Uložit?", "ync"), 0);
    EXPECT_EQ(QuestionBox("Smazat?", "yn"), 2);
    boxes.answer(btkID_YES);
    EXPECT_EQ(QuestionBox("x", "YN"), 1);  // plain box: modes are case-sensitive
    EXPECT_EQ(QuestionBox("x", ""), 0);
    ErrorBox("chyba");
    InfoBox("hotovo");
    std::vector<int> flags;
    for (const auto& box : boxes.shown()) flags.push_back(box.flags);
    EXPECT_EQ(flags, (std::vector<int>{35, 36, 35, 36, 0, 0, 16, 64}));
    EXPECT_EQ(boxes.shown()[6].text, "chyba");
    EXPECT_EQ(boxes.shown()[6].caption, "Kantorix");
    boxes.reset();
}

TEST(MessageBoxes, ReplaceableBackend) {
    struct Always : btkMessageBoxBackend {
        int calls = 0;
        int show(const char*, const char*, int) override {
            ++calls;
            return btkID_YES;
        }
    } yes;
    btkSetMessageBoxBackend(&yes);
    EXPECT_EQ(QuestionBox("?", "yn"), 1);
    EXPECT_EQ(ErrorBox("e"), btkID_YES);
    EXPECT_EQ(yes.calls, 2);
    btkSetMessageBoxBackend(nullptr);
    EXPECT_EQ(&btkMessageBoxes(), &btkDefaultMessageBoxes());
}
