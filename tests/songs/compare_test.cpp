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

std::vector<std::string> titles(const btkCntVec<AbstractSongData*>& items) {
    std::vector<std::string> out;
    for (const AbstractSongData* item : items) out.push_back(item->getTitle().c_str());
    return out;
}

std::vector<std::string> sorted(const SongCompare& compare, std::vector<Item>& items) {
    btkCntVec<AbstractSongData*> list;
    for (Item& item : items) list.add(&item);
    SortByCompare(&compare, list);
    return titles(list);
}

btkXMLNode order(const char* xml) {
    btkXMLNode node;
    node.parse(xml);
    return node;
}

TEST(LocaleOrder, CzechCollation) {
    std::vector<Item> items{{"Ivan"}, {"Chata"}, {"Hora"}, {"Čáp"}, {"Cesta"}};
    EXPECT_EQ(sorted(gTitleCompare, items), (std::vector<std::string>{"Cesta", "Čáp", "Hora", "Chata", "Ivan"}));
    EXPECT_EQ(LocaleCompare("", ""), 0);
    EXPECT_EQ(LocaleCompare("", "a"), -1);
    EXPECT_EQ(LocaleCompare("b", "a"), 1);
    EXPECT_EQ(LocaleCompare("řeka", "rys"), 1);   // ř after r
    EXPECT_EQ(LocaleCompare("šum", "sova"), 1);
    EXPECT_EQ(LocaleCompare("10", "9"), -1);      // texts, not numbers
    EXPECT_NE(LocaleCompare("a", "A"), 0);        // case counts
    EXPECT_EQ(LocaleCompare("abc", "abc"), 0);
}

TEST(FixedOrders, TieBreakKeys) {
    std::vector<Item> items{{"Same", "B", 1}, {"Same", "A", 3}, {"Same", "A", 2}, {"Other", "Z", 9}};
    EXPECT_EQ(sorted(gTitleCompare, items), (std::vector<std::string>{"Other", "Same", "Same", "Same"}));
    btkCntVec<AbstractSongData*> list;
    for (Item& item : items) list.add(&item);
    SortByCompare(&gTitleCompare, list);
    EXPECT_EQ(list[1]->getLocid(), 2);
    EXPECT_EQ(list[2]->getLocid(), 3);
    EXPECT_EQ(list[3]->getLocid(), 1);

    // Group order: group, title, local id; author and remark fall back to it.
    items[3].group = "A";
    items[0].author = items[1].author = items[2].author = "X";
    SortByCompare(&gAuthorCompare, list);  // "" author first
    EXPECT_EQ(list[0]->getTitle(), "Other");
    EXPECT_EQ(list[1]->getLocid(), 2);
    EXPECT_EQ(list[3]->getLocid(), 1);
    SortByCompare(&gGroupCompare, list);
    EXPECT_EQ(list[0]->getTitle(), "Other");
    EXPECT_EQ(list[3]->getGroup(), "B");

    items[0].netid = 3;
    items[1].netid = -1;
    SortByCompare(&gNETIDCompare, list);
    EXPECT_EQ(list[0]->getNetid(), -1);
    EXPECT_EQ(list[3]->getNetid(), 3);
    SortByCompare(&gLOCIDCompare, list);
    EXPECT_EQ(list[0]->getLocid(), 1);
    EXPECT_EQ(list[3]->getLocid(), 9);

    CustomColCompare byVar("v");
    items[0].var = "b";
    items[1].var = "a";
    SortByCompare(&byVar, list);  // empty values first, by group order
    EXPECT_EQ(list[2]->getLocid(), 3);
    EXPECT_EQ(list[3]->getLocid(), 1);

    EXPECT_EQ(StandardColumnCompare(1), &gTitleCompare);
    EXPECT_EQ(StandardColumnCompare(9), &gNETIDCompare);
    EXPECT_EQ(StandardColumnCompare(4), nullptr);
}

TEST(CustomOrders, KeysReadFromXml) {
    CustomCompare groupThenTitleDown(order(
        "<custom_order name=\"x\"><a colid=\"group\"/><b colid=\"title\" revert=\"1\"/></custom_order>"));
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
    key.datatype = 0;
    EXPECT_LT(CustomCompare::compareItem(key, &ten, &nine), 0);
    key.datatype = 1;
    EXPECT_GT(CustomCompare::compareItem(key, &ten, &nine), 0);
    key.revert = true;
    EXPECT_LT(CustomCompare::compareItem(key, &ten, &nine), 0);
    key.revert = false;
    key.datatype = 7;
    EXPECT_EQ(CustomCompare::compareItem(key, &ten, &nine), 0);

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
    btkCntVec<AbstractSongData*> two;
    two.add(&items[1]);
    two.add(&items[0]);
    SortByCompare(nullptr, two);
    EXPECT_EQ(two[0], &items[1]);
    btkCntVec<AbstractSongData*> one;
    one.add(&items[3]);
    SortByCompare(&gLOCIDCompare, one);
    EXPECT_EQ(one[0], &items[3]);
}

}  // namespace
