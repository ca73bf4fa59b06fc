#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/List.h"
#include "engine/framework/PtrArray.h"

namespace {

int g_items[10];
void* P(int i) { return &g_items[i]; }

// The items of a list from head to tail as indexes into g_items.
std::vector<int> Items(CList& list)
{
    std::vector<int> out;
    CListIter it(&list);
    for (void* p = it.First(); p; p = it.Next())
        out.push_back(static_cast<int>(static_cast<int*>(p) - g_items));
    return out;
}

TEST(ListTest, InsertionsKeepHeadTailAndCount)
{
    CList list;
    list.AddTail(P(2));
    list.AddHead(P(1));
    list.AddTail(P(4));
    list.InsertAfterItem(P(3), P(2));
    list.InsertBeforeItem(P(0), P(1));
    list.InsertAfterItem(P(5), P(9));  // absent: at the tail
    list.InsertBeforeItem(P(6), P(9)); // absent: at the head
    EXPECT_EQ(Items(list), (std::vector<int>{6, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(list.GetCount(), 7);

    list.RemoveItem(P(6));
    list.RemoveItem(P(5));
    list.RemoveItem(P(9)); // absent: nothing
    EXPECT_FALSE(list.RemoveNode(nullptr));
    EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(list.GetCount(), 5);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadNode(), nullptr);
    EXPECT_EQ(list.GetTailNode(), nullptr);
}

TEST(ListTest, InsertSortedPutsEqualItemsAfterTheirPeers)
{
    CList list;
    auto lessEq = [](void* a, void* b) { return a <= b; };
    list.InsertSorted(P(3), lessEq); // empty list: one node
    EXPECT_EQ(list.GetCount(), 1);
    for (int i : {1, 4, 3, 0, 9})
        list.InsertSorted(P(i), lessEq);
    EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 3, 3, 4, 9}));

    // The second 3 went after the first one.
    CListIter it(&list);
    it.Nth(2);
    CList::Node* first3 = list.FindNode(P(3));
    EXPECT_EQ(list.InsertSorted(P(3), lessEq)->prev->prev, first3);
}

TEST(ListIterTest, WalksFromBothEndsAndRemoves)
{
    CList list;
    for (int i = 0; i < 7; ++i)
        list.AddTail(P(i));
    CListIter it(&list);
    EXPECT_EQ(it.Current(), P(0));
    for (int i : {0, 2, 3, 4, 6})
        EXPECT_EQ(it.Nth(i), P(i)) << i;
    EXPECT_EQ(it.Nth(-1), nullptr);
    EXPECT_EQ(it.Nth(7), nullptr);
    EXPECT_EQ(it.Current(), P(6)); // out-of-range Nth leaves the cursor

    EXPECT_EQ(it.Last(), P(6));
    EXPECT_EQ(it.Prev(), P(5));
    EXPECT_TRUE(it.Find(P(2)));
    EXPECT_FALSE(it.Find(P(9)));
    EXPECT_EQ(it.Current(), P(2));
    EXPECT_TRUE(it.RemoveCurrent());
    EXPECT_EQ(it.Current(), P(3));

    // Removing the tail leaves no current node; Next stays null.
    it.Last();
    EXPECT_TRUE(it.RemoveCurrent());
    EXPECT_EQ(it.Current(), nullptr);
    EXPECT_EQ(it.Next(), nullptr);
    EXPECT_EQ(it.Prev(), nullptr);
    EXPECT_FALSE(it.RemoveCurrent());

    it.InsertBefore(P(8)); // no current node: at the head, becomes current
    EXPECT_EQ(it.Current(), P(8));
    it.InsertAfter(P(9));
    EXPECT_EQ(Items(list), (std::vector<int>{8, 9, 0, 1, 3, 4, 5}));

    CListIter none(nullptr);
    EXPECT_EQ(none.First(), nullptr);
    EXPECT_EQ(none.Nth(0), nullptr);
    EXPECT_FALSE(none.RemoveCurrent());
}

struct FakeWind {
    bool shown;
    bool IsShown() const { return shown; }
};

TEST(WindListTest, NavigationSkipsHiddenWindows)
{
    FakeWind a{false}, b{true}, c{false}, d{true}, stray{true};
    CWindListT<FakeWind> list;
    for (FakeWind* w : {&a, &b, &c, &d})
        list.AddTail(w);
    EXPECT_EQ(list.GetHead(), &a);
    EXPECT_EQ(list.GetTail(), &d);
    EXPECT_EQ(list.NextShown(nullptr), &b);
    EXPECT_EQ(list.NextShown(&b), &d);
    EXPECT_EQ(list.NextShown(&d), nullptr);
    EXPECT_EQ(list.PrevShown(nullptr), &d);
    EXPECT_EQ(list.PrevShown(&d), &b);
    EXPECT_EQ(list.PrevShown(&b), nullptr);
    EXPECT_EQ(list.NextShown(&stray), nullptr);
    EXPECT_EQ(list.NextAfter(&a), &b);
    EXPECT_EQ(list.PrevBefore(&a), nullptr);
    EXPECT_EQ(list.NextAfter(nullptr), nullptr);
    EXPECT_EQ(list.NextAfter(&stray), nullptr);
    EXPECT_TRUE(list.Contains(&c));
    EXPECT_FALSE(list.Contains(&stray));
    CWindListT<FakeWind> empty;
    EXPECT_EQ(empty.GetHead(), nullptr);
    EXPECT_EQ(empty.NextShown(nullptr), nullptr);
}

TEST(PtrArrayTest, EntriesArePointerSizedAndGrowWithNulls)
{
    CPtrArray a;
    EXPECT_EQ(a.IndexOf(P(1)), -1);
    a.SetAt(5, P(5));
    EXPECT_EQ(a.GetCount(), 6);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a.GetAt(i), nullptr) << i;
    EXPECT_EQ(a.GetAt(5), P(5));
    EXPECT_EQ(a.GetAt(6), nullptr);
    EXPECT_EQ(a.GetAt(-1), nullptr);
    EXPECT_FALSE(a.SetAt(-1, P(1)));
    EXPECT_EQ(a.FindFreeSlot(), 0);

    // Full pointers survive the round trip, whatever their upper bits.
    void* high = reinterpret_cast<void*>(~static_cast<uintptr_t>(0) - 7);
    a.SetAt(0, high);
    EXPECT_EQ(a.GetAt(0), high);
    EXPECT_EQ(a.IndexOf(high), 0);
}

TEST(PtrArrayTest, AddRemoveSwapAndFreeSlots)
{
    CPtrArray a;
    void* items[] = {P(0), P(1), P(2)};
    a.AddMany(3, items);
    a.Add(P(3));
    EXPECT_EQ(a.GetCount(), 4);
    a.RemoveAt(4); // out of range: nothing
    a.RemoveAt(-1);
    EXPECT_EQ(a.GetCount(), 4);
    a.RemoveAt(1);
    EXPECT_EQ(a.GetCount(), 3);
    EXPECT_EQ(a.GetAt(1), P(2));
    a.Swap(0, 2);
    EXPECT_EQ(a.GetAt(0), P(3));
    EXPECT_EQ(a.GetAt(2), P(0));
    a.Swap(0, 3); // out of range: nothing
    EXPECT_EQ(a.GetAt(0), P(3));
    EXPECT_EQ(a.FindFreeSlot(), 3); // none free: a null entry is appended
    EXPECT_EQ(a.GetCount(), 4);
    a.SetAt(1, nullptr);
    EXPECT_EQ(a.FindFreeSlot(), 1);
    a.RemoveAll();
    EXPECT_EQ(a.GetCount(), 0);
}

TEST(PtrArrayTest, CursorFollowsRemovalsBelowIt)
{
    CPtrArray a;
    for (int i = 0; i < 5; ++i)
        a.Add(P(i));
    // A forward walk that removes the entry it visits still visits every entry once.
    std::vector<void*> seen;
    CPtrArrayCursor c(a, 0);
    while (c.index < a.GetCount()) {
        void* item = a.GetAt(c.index++);
        seen.push_back(item);
        if (item == P(1) || item == P(2))
            a.RemoveAt(a.IndexOf(item));
        if (item == P(3))
            a.RemoveAt(0); // below the cursor
    }
    EXPECT_EQ(seen, (std::vector<void*>{P(0), P(1), P(2), P(3), P(4)}));
    EXPECT_EQ(a.GetCount(), 2);
    a.RemoveAll();
    EXPECT_EQ(c.index, 0);
}

} // namespace
