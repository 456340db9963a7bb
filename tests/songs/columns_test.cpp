// Song columns: cell texts, what a cell write changes and marks, the keys.
#include <gtest/gtest.h>

#include <utility>

#include "modelenv.h"
#include "songs/songcolumns.h"

namespace {

class SongColumns : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        db = new KxDatabase("");
        space->addView(db);
        song = db->addNewSong();
        song->locid = 4;
        pass();
    }
    // Was the song posted since the last pass?
    bool posted() const {
        for (int i = 0; i < system->pendingCount(); ++i)
            if (system->pending(i).object == song) return true;
        return false;
    }
    // A new unmarked song with an internet id in a new database.
    void freshSong() {
        db = new KxDatabase("");
        space->addView(db);
        song = db->addNewSong();
        song->netid = 5;
        pass();
    }
    KxDatabase* db = nullptr;
    KxSong* song = nullptr;
    btkStrings noCustom;
};

TEST_F(SongColumns, StackColumnTakesANonZeroNumberOrExactAno) {
    SetSongCellText(song, COL_STACK, "ano", noCustom);
    EXPECT_TRUE(song->onStack);
    EXPECT_EQ(SongCellText(song, COL_STACK, noCustom), "ano");
    EXPECT_EQ(SongStackCellState(song, COL_STACK), 0);
    const struct {
        const char* text;
        bool on;
    } rows[] = {
        {"2", true}, {"-1", true}, {"ANO", false}, {"Ano", false}, {"0", false}, {"", false}, {"ne", false},
    };
    for (const auto& r : rows) {
        SetSongCellText(song, COL_STACK, r.on ? "ne" : "ano", noCustom);
        SetSongCellText(song, COL_STACK, r.text, noCustom);
        EXPECT_EQ(song->onStack, r.on) << r.text;
    }
    EXPECT_EQ(SongCellText(song, COL_STACK, noCustom), "ne");
    EXPECT_EQ(SongStackCellState(song, COL_STACK), 1);
    EXPECT_EQ(SongStackCellState(song, COL_TITLE), -1);
    // The stack is no change of the song's data.
    EXPECT_FALSE(song->modified);
}

TEST_F(SongColumns, NumbersAndFlags) {
    for (auto [text, locid] : {std::pair{"abc", 0}, {"  -12x", -12}}) {
        SetSongCellText(song, COL_LOCID, text, noCustom);
        EXPECT_EQ(song->locid, locid) << text;
    }
    SetSongCellText(song, COL_LOCID, "40", noCustom);
    EXPECT_EQ(db->nextLocalId(), 41);  // a hand-given id is not given again

    EXPECT_EQ(SongCellText(song, COL_NONET, noCustom), "ne");
    SetSongCellText(song, COL_NETID, "77", noCustom);
    EXPECT_EQ(song->netid, 77);
    EXPECT_TRUE(song->nonet);
    EXPECT_EQ(SongCellText(song, COL_NETID, noCustom), "77");
    EXPECT_EQ(SongCellText(song, COL_NONET, noCustom), "ano");

    // What a cell reads after a write.
    const struct {
        int column;
        const char *written, *read;
    } cells[] = {
        {COL_NETMODIFIED, "ano", "1"}, {COL_NETMODIFIED, "Ano", "0"}, {COL_NETMODIFIED, "3", "1"},
        {COL_NONET, "0", "ne"},        {COL_VERSION, "9", "9"},       {COL_SPECIAL, "netdelete", "netdelete"},
    };
    for (const auto& c : cells) {
        SetSongCellText(song, c.column, c.written, noCustom);
        EXPECT_EQ(SongCellText(song, c.column, noCustom), c.read) << c.column << " " << c.written;
    }
    EXPECT_TRUE(song->netmodified);
    EXPECT_FALSE(song->nonet);
}

TEST_F(SongColumns, ChangeMarks) {
    // Network fields mark the song for the internet database.
    for (int column : {COL_TITLE, COL_GROUP, COL_AUTHOR, COL_REMARK, COL_LANG}) {
        freshSong();
        SetSongCellText(song, column, "x", noCustom);
        EXPECT_TRUE(posted()) << column;
        EXPECT_TRUE(song->modified) << column;
        EXPECT_TRUE(db->isChanged()) << column;
        EXPECT_TRUE(song->netmodified) << column;
        EXPECT_EQ(SongCellText(song, column, noCustom), "x");
    }
    // Plain fields mark it modified only.
    for (int column : {COL_VERSION, COL_SPECIAL}) {
        freshSong();
        SetSongCellText(song, column, "1", noCustom);
        EXPECT_TRUE(song->modified) << column;
        EXPECT_FALSE(song->netmodified) << column;
    }
    // Columns without a field change nothing but still post the song.
    for (int column : {int(COL_SOURCE), int(COL_EXPORTED), int(COL_CREATED), int(COL_SRC), 99, -3}) {
        freshSong();
        SetSongCellText(song, column, "zzz", noCustom);
        EXPECT_TRUE(posted()) << column;
        EXPECT_FALSE(song->modified) << column;
        EXPECT_FALSE(db->isChanged()) << column;
        EXPECT_EQ(SongCellText(song, column, noCustom), "???");
    }
}

TEST_F(SongColumns, UserColumnsAreSongVariables) {
    btkStrings custom;
    SplitCustomColumns("Tónina;Rok;", custom);
    ASSERT_EQ(custom.count(), 2);
    SetSongCellText(song, 17, "1999", custom);
    EXPECT_EQ(song->vars.get("Rok"), "1999");
    EXPECT_TRUE(song->modified);
    EXPECT_FALSE(song->netmodified);
    EXPECT_EQ(SongCellText(song, 17, custom), "1999");
    EXPECT_EQ(SongCellText(song, 16, custom), "");
    EXPECT_EQ(SongCellText(song, 18, custom), "???");
    // The data interface alone knows no user columns.
    EXPECT_EQ(SongDataCellText(song, 17), "???");
}

TEST(SongColumnKeys, KeysAndIds) {
    const struct {
        int id;
        const char* key;
    } keys[] = {
        {COL_TITLE, "title"}, {COL_NETMODIFIED, "netmodified"}, {COL_LANG, ""}, {COL_SOURCE, ""}, {16, ""},
    };
    for (const auto& k : keys) EXPECT_EQ(SongColumnKey(k.id), k.key) << k.id;
    for (int id = 0; id < 16; ++id) {
        if (!SongColumnKey(id).empty()) {
            EXPECT_EQ(SongColumnId(SongColumnKey(id)), id);
        }
    }
    for (const char* unknown : {"lang", "", "Title"}) EXPECT_EQ(SongColumnId(unknown), -1) << unknown;
    EXPECT_STREQ(SongColumnCaptions[COL_NONET], "Nesrovnávat s internetem");
}

}  // namespace
