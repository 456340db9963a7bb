// Comparators: the Czech text order, the fixed orders with their tie-break
// keys, user-defined orders read from XML, and sorting that survives any
// comparator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "songs/songcompare.h"

namespace {

// Song data of a song-book item: only what the order reads.
struct Item : AbstractSongData {
    Item(const char* title, const char* group = "", int locid = 0) : title(title), group(group), locid(locid) {}
    btkstring getTitle() const override { return title; }
    btkstring getGroup() const override { return group; }
    btkstring getAuthor() const override { return author; }
    btkstring getRemark() const override { return remark; }
    int getLocid() const override { return locid; }
    int getNetid() const override { return netid; }
    btkstring getVar(const char* name) const override { return btkstring(name) == "v" ? var : btkstring(); }
    btkstring title, group, author, remark, var;
    int locid, netid = 0;
};

std::vector<std::string> sorted(const SongCompare& compare, std::vector<Item>& items) {
    btkCntVec<AbstractSongData*> list;
    for (Item& item : items) list.add(&item);
    SortByCompare(&compare, list);
    std::vector<std::string> out;
    for (const AbstractSongData* item : list) out.push_back(item->getTitle().c_str());
    return out;
}

btkXMLNode order(const char* xml) {
    btkXMLNode node;
    node.parse(xml);
    return node;
}

TEST(LocaleOrder, CzechCollation) {
    std::vector<Item> items{{"Ivan"}, {"Chata"}, {"Hora"}, {"Čáp"}, {"Cesta"}};
    EXPECT_EQ(sorted(gTitleCompare, items), (std::vector<std::string>{"Cesta", "Čáp", "Hora", "Chata", "Ivan"}));
    // ř after r and š after s; texts, not numbers; case counts.
    const struct {
        const char *a, *b;
        int order;
    } rows[] = {
        {"", "", 0},     {"", "a", -1},     {"b", "a", 1},  {"řeka", "rys", 1}, {"šum", "sova", 1},
        {"10", "9", -1}, {"abc", "abc", 0}, {"a", "A", -1}, {"A", "a", 1},
    };
    for (const auto& r : rows) EXPECT_EQ(LocaleCompare(r.a, r.b), r.order) << r.a << " " << r.b;
}

TEST(FixedOrders, TieBreakKeys) {
    std::vector<Item> items{{"Same", "B", 1}, {"Same", "A", 3}, {"Same", "A", 2}, {"Other", "Z", 9}};
    btkCntVec<AbstractSongData*> list;
    for (Item& item : items) list.add(&item);
    auto sortedBy = [&](const SongCompare& compare, int (AbstractSongData::*key)() const) {
        SortByCompare(&compare, list);
        std::vector<int> keys;
        for (const AbstractSongData* item : list) keys.push_back((item->*key)());
        return keys;
    };
    using Keys = std::vector<int>;
    EXPECT_EQ(sortedBy(gTitleCompare, &AbstractSongData::getLocid), (Keys{9, 2, 3, 1}));

    // Group order: group, title, local id; author and remark fall back to it.
    items[3].group = "A";
    items[0].author = items[1].author = items[2].author = "X";
    EXPECT_EQ(sortedBy(gAuthorCompare, &AbstractSongData::getLocid), (Keys{9, 2, 3, 1}));  // "" author first
    items[3].group = "C";
    EXPECT_EQ(sortedBy(gGroupCompare, &AbstractSongData::getLocid), (Keys{2, 3, 1, 9}));
    items[3].group = "A";

    items[0].netid = 3;
    items[1].netid = -1;
    EXPECT_EQ(sortedBy(gNETIDCompare, &AbstractSongData::getNetid), (Keys{-1, 0, 0, 3}));
    EXPECT_EQ(sortedBy(gLOCIDCompare, &AbstractSongData::getLocid), (Keys{1, 2, 3, 9}));

    CustomColCompare byVar("v");
    items[0].var = "b";
    items[1].var = "a";
    // Empty values first, by group order.
    EXPECT_EQ(sortedBy(byVar, &AbstractSongData::getLocid), (Keys{9, 2, 3, 1}));

    EXPECT_EQ(StandardColumnCompare(1), &gTitleCompare);
    EXPECT_EQ(StandardColumnCompare(9), &gNETIDCompare);
    EXPECT_EQ(StandardColumnCompare(4), nullptr);
}

TEST(CustomOrders, KeysReadFromXml) {
    CustomCompare groupThenTitleDown(
        order("<custom_order name=\"x\"><a colid=\"group\"/><b colid=\"title\" revert=\"1\"/></custom_order>"));
    ASSERT_EQ(groupThenTitleDown.items.count(), 2);
    EXPECT_EQ(groupThenTitleDown.items[0]->colid, 2);
    EXPECT_TRUE(groupThenTitleDown.items[1]->revert);
    std::vector<Item> items{{"A", "G2"}, {"B", "G1"}, {"C", "G1"}, {"Z", "G2"}};
    EXPECT_EQ(sorted(groupThenTitleDown, items), (std::vector<std::string>{"C", "B", "Z", "A"}));

    // An unknown key, "lang" included, names the user column of custom.
    CustomCompare byLangVar(order("<o><k colid=\"lang\" custom=\"v\"/></o>"));
    EXPECT_EQ(byLangVar.items[0]->colid, -1);
    items[0].var = "2";
    items[1].var = "1";
    EXPECT_LT(byLangVar.compare(&items[1], &items[0]), 0);

    CustomCompare none(order("<o/>"));
    EXPECT_EQ(none.compare(&items[0], &items[1]), 0);
}

TEST(CustomOrders, DataTypes) {
    CustomCompareItem key;
    key.custom = "v";
    Item ten("a"), nine("b");
    ten.var = "10";
    nine.var = "9";
    // Text, number, reversed number, unknown type.
    const struct {
        int datatype;
        bool revert;
        int sign;
    } rows[] = {
        {0, false, -1},
        {1, false, 1},
        {1, true, -1},
        {7, false, 0},
    };
    for (const auto& r : rows) {
        key.datatype = r.datatype;
        key.revert = r.revert;
        int order = CustomCompare::compareItem(key, &ten, &nine);
        EXPECT_EQ((order > 0) - (order < 0), r.sign) << r.datatype << r.revert;
    }
    key.revert = false;

    key.datatype = 2;
    Item later("x"), earlier("y"), empty("z");
    later.var = "1.2.2004 12:00:00";
    earlier.var = "31.1.2004 23:59:59";
    EXPECT_GT(CustomCompare::compareItem(key, &later, &earlier), 0);
    EXPECT_LT(CustomCompare::compareItem(key, &empty, &earlier), 0);

    // Column ids outside 0..15 read "???" on both sides.
    key.colid = 40;
    key.datatype = 0;
    EXPECT_EQ(CustomCompare::compareItem(key, &ten, &nine), 0);
    key.colid = 8;
    key.datatype = 1;
    ten.locid = 2;
    nine.locid = 1;
    EXPECT_GT(CustomCompare::compareItem(key, &ten, &nine), 0);
}

TEST(CustomOrders, DateTimeToTime) {
    EXPECT_EQ(DateTimeToTime(ParseDateTime("")), 0);
    EXPECT_EQ(DateTimeToTime(ParseDateTime("1.1.1960")), -1);
    EXPECT_EQ(DateTimeToTime(ParseDateTime("1.1.2040")), -1);
    long long a = DateTimeToTime(ParseDateTime("2.1.2000 10:00:00"));
    long long b = DateTimeToTime(ParseDateTime("2.1.2000 10:00:01"));
    EXPECT_EQ(b - a, 1);
}

// Answers at random: no order at all.
struct RandomCompare : SongCompare {
    int compare(const AbstractSongData*, const AbstractSongData*) const override { return std::rand() % 3 - 1; }
};

TEST(Sorting, SafeWithAnyComparator) {
    std::vector<Item> items;
    for (int i = 0; i < 500; ++i) items.emplace_back("t", "g", i);
    btkCntVec<AbstractSongData*> list;
    for (Item& item : items) list.add(&item);
    RandomCompare random;
    std::srand(7);
    SortByCompare(&random, list);
    // Still every item once.
    std::vector<int> seen(500, 0);
    for (AbstractSongData* item : list) ++seen[static_cast<size_t>(item->getLocid())];
    for (int n : seen) EXPECT_EQ(n, 1);

    // No comparator, or one item: untouched.
    btkCntVec<AbstractSongData*> two, one;
    two.add(&items[1]);
    two.add(&items[0]);
    SortByCompare(nullptr, two);
    EXPECT_EQ(two[0], &items[1]);
    one.add(&items[3]);
    SortByCompare(&gLOCIDCompare, one);
    EXPECT_EQ(one[0], &items[3]);
}

}  // namespace
