// The song book: its item operations and sorting, song items made from
// songs, and the book file (round trip, what reading accepts, failures).
#include "songbook/melodar.h"

#include <gtest/gtest.h>

#include <string>

#include "bookenv.h"
#include "songs/songcompare.h"

namespace {

// The items as "kind:text" joined by ", " ("outline*" for one bound to the
// beginning).
std::string items(const Melodar& book) {
    std::string s;
    for (int i = 0; i < book.GetItemCount(); ++i) {
        const KxData* item = book.GetItem(i);
        if (!s.empty()) s += ", ";
        s += std::string(item->kind()) + (item->fixtobegin ? "*" : "") + ":";
        if (auto* song = dynamic_cast<const SongData*>(item)) s += song->title.c_str();
    }
    return s;
}

void addSong(Melodar& book, const char* title, const char* text = "") {
    KxSong song;
    song.title = title;
    song.text = text;
    book.dropSong(song);
}

void addOutline(Melodar& book, bool fixtobegin) {
    auto outline = std::make_unique<KxOutline>(&book);
    outline->fixtobegin = fixtobegin;
    book.appendItem(std::move(outline));
}

}  // namespace

using MelodarTest = BookFolderTest;

TEST(Melodar, MovingAndSortingItems) {
    Melodar book;
    book.initType();
    addOutline(book, true);
    addOutline(book, true);
    addSong(book, "C");
    addOutline(book, false);
    addSong(book, "A");
    addSong(book, "B");
    book.sortSongs(&gTitleCompare);
    EXPECT_EQ(items(book), "outline*:, outline*:, song:A, song:B, song:C, outline:");

    book.moveItem(5, 99);  // stays last
    book.moveItem(4, -3);  // becomes first
    book.moveItem(7, 0);   // outside: nothing
    book.swapItems(1, 9);  // outside: nothing
    EXPECT_EQ(items(book), "song:C, outline*:, outline*:, song:A, song:B, outline:");
    book.swapItems(0, 3);
    book.GetItem(1)->fixtobegin = false;  // only the leading run of bound items stays in front
    book.sortSongs(&gTitleCompare);
    EXPECT_EQ(items(book), "song:A, song:B, song:C, outline:, outline*:, outline:");
    while (book.GetItemCount()) book.deleteItem(0);
    book.deleteItem(0);
    EXPECT_EQ(book.GetItemCount(), 0);
    EXPECT_EQ(OpenMelodars().find(&book), 0);
}

TEST(Melodar, SongItemsAreTransposedSnapshots) {
    Melodar book;
    KxSong song;
    song.title = "T";
    song.group = "G";
    song.text = "[C]la";
    song.transposition = 2;
    song.vars.set("key", "v");
    book.dropSong(song);
    auto* item = dynamic_cast<SongData*>(book.GetItem(0));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->displayText(), "T (G)");
    EXPECT_EQ(item->text, "[D]la");
    EXPECT_EQ(item->transposition, 0);
    EXPECT_EQ(item->getVar("key"), "v");
    item->setTransposition(3);
    EXPECT_EQ(item->transposedText(), "[F]la");
    item->setTransposition(2147483647);  // any value a file holds: 7 modulo 12
    EXPECT_EQ(item->transposedText(), "[A]la");
    song.text = "changed";
    EXPECT_EQ(item->getText(), "[D]la");
}

TEST_F(MelodarTest, FileRoundTripIsByteIdentical) {
    writeType("base", "<kxtype><page hcnt=\"2\" /></kxtype>");
    Melodar book;
    book.initType();
    book.type->header = "$c";
    book.type->changeBaseType("base");
    book.type->savediff = true;
    addOutline(book, true);
    static_cast<KxOutline*>(book.GetItem(0))->order.addChild("item1").setIntAttr("colid", 1);
    addSong(book, "A & <B>", "[C]la \"x\" & y\n.R\n");
    auto* song = static_cast<SongData*>(book.GetItem(1));
    song->remark = "r";
    song->db = "db1";
    song->vars.set("k", "v");
    song->newpage = true;
    song->transposition = 3;
    ASSERT_TRUE(book.save(path("a.kx").c_str()));
    EXPECT_EQ(book.fileName, path("a.kx").c_str());

    Melodar back;
    back.load(path("a.kx").c_str());
    EXPECT_EQ(items(back), "outline*:, song:A & <B>");
    EXPECT_EQ(back.type->hcnt, 2);
    EXPECT_EQ(back.type->header, "$c");
    ASSERT_TRUE(back.save(path("b.kx").c_str()));
    EXPECT_EQ(read("a.kx"), read("b.kx"));
    const std::string text = read("a.kx");
    EXPECT_NE(
        text.find("<song newpage=\"1\" skippage=\"0\" fixtobegin=\"0\" fixtoend=\"0\" title=\"A &amp; &lt;B&gt;\" "
                  "author=\"\" group=\"\" locid=\"0\" netid=\"0\" chorddiff=\"3\" db=\"db1\" remark=\"r\" >"),
        std::string::npos)
        << text;
}

TEST_F(MelodarTest, ReadingAcceptsPartsAndRefusesBrokenFiles) {
    write("c.kx",
          "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<melodar><items>"
          "<song title=\"s\" chorddiff=\"-2\"><vars><var name=\"a\">1</var><x name=\"b\"></x></vars></song>"
          "<foo/><outline/></items></melodar>");
    Melodar book;
    book.load(path("c.kx").c_str());
    EXPECT_EQ(items(book), "song:s, outline:");
    auto* song = static_cast<SongData*>(book.GetItem(0));
    EXPECT_EQ(song->transposition, -2);
    EXPECT_EQ(song->vars.count(), 1);
    EXPECT_EQ(static_cast<KxOutline*>(book.GetItem(1))->order.name(), "order");
    // No kxtype: the type of an empty element, not the default type.
    EXPECT_EQ((std::vector<int>{book.type->hcnt, book.type->colcnt, book.type->songspacehi}),
              (std::vector<int>{1, 1, 0}));

    write("broken.kx", "<melodar><items>");
    EXPECT_THROW(book.load(path("broken.kx").c_str()), btkXMLLoadError);
    EXPECT_EQ(items(book), "song:s, outline:");
    EXPECT_EQ(book.fileName, path("c.kx").c_str());

    // A failed save keeps the old name and the old file, and says which.
    std::filesystem::create_directories(path("dir.kx"));
    EXPECT_FALSE(book.save(path("dir.kx").c_str()));
    EXPECT_EQ(book.fileName, path("c.kx").c_str());
    EXPECT_NE(boxes().find("dir.kx"), std::string::npos) << boxes();
}
