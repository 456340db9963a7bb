#include <gtest/gtest.h>

#include <vector>

#include "foundation/btkarray.h"
#include "foundation/btkref.h"
#include "foundation/btkstrings.h"
#include "foundation/btkvarlist.h"

namespace {

// Counts its live instances so ownership mistakes show.
struct Tracked : btkRCObject {
    static inline int alive = 0;
    int value;
    explicit Tracked(int v = 0) : value(v) { ++alive; }
    ~Tracked() override { --alive; }
};

}  // namespace

TEST(Array, GrowthRuleNineThenEighteen) {
    btkCntVec<int> a;
    EXPECT_EQ(a.capacity(), 0);
    a.add(1);
    EXPECT_EQ(a.capacity(), 9);
    for (int i = 2; i <= 9; ++i) a.add(i);
    EXPECT_EQ(a.capacity(), 9);
    a.add(10);
    EXPECT_EQ(a.capacity(), 18);
    a.reserve(100);
    EXPECT_EQ(a.capacity(), 150);
    a.clear();
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(a.capacity(), 150);  // clear keeps the buffer
}

TEST(Array, FindRemoveAndRemoveItems) {
    btkCntVec<int> a;
    EXPECT_EQ(a.find(1), -1);
    for (int v : {5, 6, 7, 6, 8}) a.add(v);
    EXPECT_EQ(a.find(6), 1);
    EXPECT_EQ(a.find(6, 2), 3);
    EXPECT_EQ(a.find(6, 5), -1);
    EXPECT_EQ(a.find(6, 99), -1);
    EXPECT_TRUE(a.remove(6));
    EXPECT_FALSE(a.remove(42));
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{5, 7, 6, 8}));

    a.removeItems(1, 0);
    a.removeItems(1, -3);
    EXPECT_EQ(a.count(), 4);
    a.removeItems(2, 100);  // clamped to the end
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{5, 7}));
    a.removeItems(7, 1);
    a.removeItems(-1, 1);
    EXPECT_EQ(a.count(), 2);
}

TEST(Array, AppendRangesAndSelf) {
    btkCntVec<int> a, b;
    for (int v : {1, 2, 3, 4}) a.add(v);
    b.append(a, 1, 3);
    EXPECT_EQ(std::vector<int>(b.begin(), b.end()), (std::vector<int>{2, 3}));
    b.append(a, 3, 1);
    b.append(a, 2, 99);
    EXPECT_EQ(std::vector<int>(b.begin(), b.end()), (std::vector<int>{2, 3, 3, 4}));
    a.append(a);
    EXPECT_EQ(a.count(), 8);
    b = a;
    EXPECT_EQ(b.count(), 8);
    for (int i = 0; i < 20; ++i) a.add(a[0]);  // an element of the array itself, across growth
    EXPECT_EQ(a[27], 1);
}

TEST(Array, CheckedAccessReportsAndThrowsZero) {
    btkCntVec<int> a;
    a.add(3);
    EXPECT_EQ(a.at(0), 3);
    testing::internal::CaptureStderr();
    for (int i : {1, -1}) {
        try {
            a.at(i);
            ADD_FAILURE() << "no throw for " << i;
        } catch (int e) {
            EXPECT_EQ(e, 0);
        }
    }
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Array index out of bounds:index=1,count=1"), std::string::npos);
    EXPECT_NE(err.find("Array index out of bounds:index=-1,count=1"), std::string::npos);
}

TEST(Array, OwningArrayDeletesExactlyOnce) {
    Tracked::alive = 0;
    {
        btkObjArray<Tracked> owned;
        for (int i = 0; i < 12; ++i) owned.add(new Tracked(i));
        owned.add(nullptr);  // skipped on destruction
        EXPECT_EQ(Tracked::alive, 12);
        owned.removeItems(0, 2);
        EXPECT_EQ(Tracked::alive, 10);
        EXPECT_EQ(owned[0]->value, 2);
        btkObjArray<Tracked> moved(std::move(owned));
        EXPECT_EQ(owned.count(), 0);
        EXPECT_EQ(Tracked::alive, 10);
    }
    EXPECT_EQ(Tracked::alive, 0);
    static_assert(!std::is_copy_constructible_v<btkObjArray<Tracked>>);
    static_assert(!std::is_copy_constructible_v<btkAutoPtr<Tracked>>);
    // A raw pointer becomes an owner only when asked: passed or returned
    // where an owner is expected it would otherwise be deleted unnoticed.
    static_assert(!std::is_convertible_v<Tracked*, btkAutoPtr<Tracked>>);
    static_assert(std::is_constructible_v<btkAutoPtr<Tracked>, Tracked*>);
}

TEST(Array, RefArrayAndHandlesCountReferences) {
    Tracked::alive = 0;
    {
        btkRef<Tracked> h(new Tracked(7));
        EXPECT_EQ(h->refCount(), 1);
        btkTRefArray<Tracked> refs;
        refs.add(h.get());
        refs.add(h.get());
        EXPECT_EQ(h->refCount(), 3);
        btkTRefArray<Tracked> copy(refs);
        EXPECT_EQ(h->refCount(), 5);
        refs.removeItems(0, 1);
        EXPECT_EQ(h->refCount(), 4);
        h = h;  // self-assignment keeps the object
        EXPECT_EQ(Tracked::alive, 1);
        h = btkRef<Tracked>();
        EXPECT_EQ(Tracked::alive, 1);  // the arrays still hold it
    }
    EXPECT_EQ(Tracked::alive, 0);

    btkRef<Tracked> last(new Tracked(1));
    EXPECT_TRUE(last.isSet());
    last = nullptr;
    EXPECT_EQ(Tracked::alive, 0);
    EXPECT_FALSE(last.isSet());
}

TEST(Array, AutoPtrOwnsOne) {
    Tracked::alive = 0;
    {
        btkAutoPtr<Tracked> p(new Tracked(1));
        Tracked* same = p.get();
        p.reset(same);  // the same pointer is kept, not deleted
        EXPECT_EQ(Tracked::alive, 1);
        p.reset(new Tracked(2));
        EXPECT_EQ(Tracked::alive, 1);
        EXPECT_EQ(p->value, 2);
        btkAutoPtr<Tracked> q(std::move(p));
        EXPECT_FALSE(p.isSet());
    }
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(Array, ObjVecHoldsStringsByValue) {
    btkStrings list;
    btkstring s("first");
    list.add(s);
    EXPECT_EQ(s.shareCount(), 2);
    for (int i = 0; i < 30; ++i) list.add(btkIntToStr(i));  // grows by byte moves
    EXPECT_EQ(list[0], "first");
    EXPECT_EQ(list[30], "29");
    list.removeItems(0, 1);
    EXPECT_EQ(s.shareCount(), 1);
    EXPECT_EQ(list.find(btkstring("5")), 5);
    btkStrings copy = list;
    EXPECT_EQ(copy.count(), 30);
    EXPECT_EQ(copy[0].c_str(), list[0].c_str());  // copies share the texts
}

TEST(VarList, SetGetAndRemove) {
    btkVarList vars;
    vars.set("capo", "");
    EXPECT_EQ(vars.count(), 0);
    vars.set("capo", "2");
    vars.set("key", "Ami");
    EXPECT_EQ(vars.get("Capo"), "");  // names compare exactly
    vars.set("capo", "3");
    EXPECT_EQ(vars.count(), 2);
    EXPECT_EQ(vars.get("capo"), "3");
    vars.set("capo", "");
    EXPECT_EQ(vars.count(), 1);
    EXPECT_EQ(vars.get("capo"), "");
    EXPECT_EQ(vars.item(0).name, "key");
}
