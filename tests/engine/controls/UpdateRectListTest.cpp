#include <gtest/gtest.h>

#include <vector>

#include "engine/controls/UpdateRectList.h"

namespace {

std::vector<CRect> Entries(const CUpdateRectList& list)
{
    std::vector<CRect> out;
    for (int16_t i = 0; i < list.GetCount(); ++i) {
        CRect r;
        list.GetAt(r, i);
        out.push_back(r);
    }
    return out;
}

TEST(UpdateRectList, AlignsLeftDownAndRightUpToFourPixelColumns)
{
    struct Case {
        CRect in, out;
    };
    const Case cases[] = {
        {{10, 5, 20, 9}, {10, 4, 20, 12}},             // both edges move
        {{0, 8, 5, 16}, {0, 8, 5, 16}},                // already aligned
        {{0, -3, 5, -3}, {0, -4, 5, 0}},               // negative edges round towards minus infinity / up
        {{0, -8, 5, -5}, {0, -8, 5, -4}},              //
        {{0, 32761, 1, 32765}, {0, 32760, 1, -32768}}, // the right edge wraps in 16 bits
    };
    for (const Case& c : cases) {
        CUpdateRectList list;
        list.Add(c.in);
        ASSERT_EQ(list.GetCount(), 1);
        EXPECT_EQ(Entries(list)[0], c.out) << c.in.GetLeft() << "," << c.in.GetRight();
    }
}

TEST(UpdateRectList, MergesOnlyWhenOneAxisOverlapsMoreThanHalf)
{
    struct Case {
        const char* what;
        CRect existing, added;
        std::vector<CRect> result;
    };
    const Case cases[] = {
        {"small rectangle inside a large entry fails both tests",
         {0, 0, 100, 100},
         {10, 12, 20, 20},
         {{0, 0, 100, 100}, {10, 12, 20, 20}}},
        {"vertical overlap decides", {0, 0, 100, 100}, {0, 40, 100, 120}, {{0, 0, 100, 120}}},
        {"disjoint rectangles stay apart",
         {0, 0, 10, 8},
         {20, 20, 30, 28},
         {{0, 0, 10, 8}, {20, 20, 30, 28}}},
        {"touching rectangles intersect but can fail both tests",
         {0, 0, 10, 8},
         {5, 8, 30, 16},
         {{0, 0, 10, 8}, {5, 8, 30, 16}}},
        {"touching rectangles of one height merge", {0, 0, 10, 8}, {0, 8, 10, 16}, {{0, 0, 10, 16}}},
        {"same rectangle merges", {5, 4, 15, 12}, {5, 4, 15, 12}, {{5, 4, 15, 12}}},
        {"a rectangle moved by a little merges into the union",
         {0, 0, 40, 40},
         {10, 8, 50, 48},
         {{0, 0, 50, 48}}},
    };
    for (const Case& c : cases) {
        CUpdateRectList list;
        list.Add(c.existing);
        list.Add(c.added);
        EXPECT_EQ(Entries(list), c.result) << c.what;
    }
}

TEST(UpdateRectList, TheNewestOverlappingEntryTakesTheMergeAndIsNotComparedAgain)
{
    CUpdateRectList list;
    list.Add({0, 0, 10, 8});
    list.Add({0, 40, 10, 48});
    // Overlaps both; the search runs from the last entry, so entry 1 grows, and the grown
    // entry now covering entry 0 is left as it is.
    list.Add({0, 4, 10, 44});
    EXPECT_EQ(Entries(list), (std::vector<CRect>{{0, 0, 10, 8}, {0, 4, 10, 48}}));
}

TEST(UpdateRectList, IntersectsIncludesEdgesAndClearEmpties)
{
    CUpdateRectList list;
    EXPECT_FALSE(list.Intersects({0, 0, 10, 10}));
    list.Add({10, 8, 20, 16});
    EXPECT_TRUE(list.Intersects({20, 16, 30, 30})); // touches the corner
    EXPECT_FALSE(list.Intersects({21, 0, 30, 30}));
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(list.Intersects({10, 8, 20, 16}));
    CRect untouched(1, 2, 3, 4);
    EXPECT_FALSE(list.GetAt(untouched, 0));
    EXPECT_EQ(untouched, CRect(1, 2, 3, 4));
}

TEST(UpdateRectList, AFullListMergesFurtherRectanglesIntoItsLastEntry)
{
    CUpdateRectList list;
    for (int16_t i = 0; i < CUpdateRectList::kCapacity; ++i)
        list.Add({static_cast<int16_t>(i * 4), 0, static_cast<int16_t>(i * 4 + 2), 4});
    ASSERT_EQ(list.GetCount(), CUpdateRectList::kCapacity);
    list.Add({3000, 100, 3010, 108});
    EXPECT_EQ(list.GetCount(), CUpdateRectList::kCapacity);
    CRect last;
    ASSERT_TRUE(list.GetAt(last, CUpdateRectList::kCapacity - 1));
    EXPECT_EQ(last, CRect(1996, 0, 3010, 108));
    EXPECT_TRUE(list.Intersects({3005, 104, 3006, 105}));
}

} // namespace
