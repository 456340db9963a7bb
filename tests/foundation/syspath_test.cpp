#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "foundation/btkfile.h"
#include "foundation/btksyspath.h"
#include "io_test_support.h"

namespace {

// Literals here are Windows-1250 (the program's text); u8 ones are what
// the file system holds. They stay out of the test macros, whose quoted
// text is converted to Windows-1250.
std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string listedNames(const std::string& pattern) {
    btkFileList list(pattern.c_str());
    std::string all;
    for (int i = 0; i < list.count(); ++i) all += (i ? "|" : "") + std::string(list[i].c_str());
    return all;
}

}  // namespace

// Every Czech letter, small and capital, reaches the disk as UTF-8 and comes
// back from a listing as the same Windows-1250 name.
TEST(SysPath, CzechNamesSaveLoadListRenameAndRemove) {
    const struct {
        const char* name;       // the program's form
        const char8_t* onDisk;  // the file system's form
    } rows[] = {
        {"Příliš žluťoučký kůň úpěl ďábelské ódy.xml", u8"Příliš žluťoučký kůň úpěl ďábelské ódy.xml"},
        {"ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ.xml", u8"ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ.xml"},
        {"áčďéěíňóřšťúůýž äöüľĺŕô.xml", u8"áčďéěíňóřšťúůýž äöüľĺŕô.xml"},
        {"plain name.xml", u8"plain name.xml"},
    };
    for (const auto& r : rows) {
        TempDir dir;
        const btkFile folder(btkFromSys(dir.path().c_str()));
        const btkFile file = folder.join(r.name);
        ASSERT_TRUE(btkWriteTextFile(file, "song\n")) << r.name;
        EXPECT_EQ(listFolder(dir.path()), utf8(r.onDisk));
        EXPECT_TRUE(btkFileExists(file)) << r.name;
        EXPECT_EQ(btkReadTextFile(file), "song\n") << r.name;
        EXPECT_EQ(listedNames(folder.join("*.XML").c_str()), r.name);

        const btkFile renamed = folder.join(btkstring("Kopie ", r.name));
        EXPECT_TRUE(btkRenameFile(file, renamed)) << r.name;
        EXPECT_EQ(listFolder(dir.path()), "Kopie " + utf8(r.onDisk));
        EXPECT_TRUE(btkRemoveFile(renamed)) << r.name;
        EXPECT_FALSE(btkRemoveFile(renamed)) << r.name;
        EXPECT_EQ(listFolder(dir.path()), "");
    }
}

TEST(SysPath, NamesWithoutAWindows1250FormAreLeftOut) {
    TempDir dir;
    for (const std::string& name : {utf8(u8"汉字.xml"), std::string("\xED-not-utf8.xml"), utf8(u8"Lesní.xml")})
        writeBytes(dir.path(name), "");
    EXPECT_EQ(listedNames(dir.path("*.xml")), "Lesní.xml");
    // A folder with a Czech name is made, found and listed.
    const btkFile folder = btkFile(btkFromSys(dir.path().c_str())).join("Zpěvníky/kx6");
    btkMakeDirs(folder);
    EXPECT_TRUE(btkIsDirectory(folder));
    struct stat st;
    EXPECT_EQ(stat(dir.path(utf8(u8"Zpěvníky/kx6")).c_str(), &st), 0);
}

TEST(SysPath, AsciiAndConversions) {
    EXPECT_EQ(btkSysPath("/tmp/a b/c.xml"), "/tmp/a b/c.xml");
    const std::string songbook = utf8(u8"zpěvník");
    EXPECT_EQ(btkSysPath("zpěvník"), songbook);
    EXPECT_EQ(btkFromSys(songbook.c_str()), "zpěvník");
    btkstring name;
    const std::string chinese = utf8(u8"a汉");  // kept out of the macro, which quotes its text
    EXPECT_FALSE(btkFromSysName(chinese.c_str(), name));
    EXPECT_EQ(name, "a?");
}

// A link that leads nowhere yet is written through like a live one: the
// link stays and its target is made.
TEST(SysPath, SavingOntoADanglingLinkCreatesItsTarget) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.path("real").c_str(), 0777), 0);
    const std::string target = utf8(u8"real/zpěvník.kx");
    ASSERT_EQ(symlink(target.c_str(), dir.path("book.kx").c_str()), 0);
    EXPECT_TRUE(btkWriteTextFile(dir.path("book.kx").c_str(), "new"));
    struct stat st;
    ASSERT_EQ(lstat(dir.path("book.kx").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readBytes(dir.path(target)), "new");
    EXPECT_EQ("real/" + listFolder(dir.path("real")), target);
    // Links in a loop lead to no file: the save fails and nothing is made.
    ASSERT_EQ(symlink("loop2", dir.path("loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", dir.path("loop2").c_str()), 0);
    EXPECT_FALSE(btkWriteTextFile(dir.path("loop1").c_str(), "x"));
    EXPECT_EQ(listFolder(dir.path()), "book.kx loop1 loop2 real");
}
