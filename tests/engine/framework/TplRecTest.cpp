#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/TplRec.h"

namespace {

std::unique_ptr<CStr> Text(const char* s) { return std::make_unique<CStr>(s); }

std::vector<std::string> Entries(const CTplRec& list)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < list.GetEntryCount(); ++i)
        out.push_back(list.GetEntry(i)->GetText());
    return out;
}

TEST(TplRec, AddsAndInsertsInOrder)
{
    CTplRec list;
    EXPECT_EQ(list.GetId(), -1);
    list.Add(Text("b"));
    list.Add(nullptr);
    list.InsertAt(0, Text("a"));
    list.InsertAt(2, Text("d"));
    list.InsertAt(2, Text("c"));
    list.InsertAt(99, Text("e"));
    list.InsertAt(-5, Text("first"));
    list.InsertAt(1, nullptr);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"first", "a", "b", "c", "d", "e"}));
}

TEST(TplRec, LendsEntriesAndHandsOutCopies)
{
    CTplRec list;
    list.Add(Text("abc"));
    list.Add(Text(""));
    EXPECT_STREQ(list.GetEntry(0)->GetText(), "abc");
    EXPECT_EQ(list.GetEntry(2), nullptr);
    EXPECT_EQ(list.GetEntry(-1), nullptr);
    EXPECT_EQ(list.GetEntryLength(0), 3);
    EXPECT_EQ(list.GetEntryLength(1), 0);
    EXPECT_EQ(list.GetEntryLength(2), 0);
    EXPECT_EQ(list.GetEntryLength(-1), 0);
    auto copy = list.GetEntryString(0);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy.get(), list.GetEntry(0));
    copy->SetAt(0, 'X');
    EXPECT_STREQ(list.GetEntry(0)->GetText(), "abc");
    EXPECT_EQ(list.GetEntryString(2), nullptr);
    EXPECT_EQ(CTplRec().GetEntry(0), nullptr);
}

TEST(TplRec, FindsTheFirstEqualEntryCaseSensitively)
{
    CTplRec list;
    for (const char* s : {"one", "Two", "two", "two"})
        list.Add(Text(s));
    const CStr two("two"), upper("TWO");
    EXPECT_EQ(list.FindEntry(&two), 2);
    EXPECT_EQ(list.FindEntry(&upper), -1);
    EXPECT_EQ(list.FindEntry(nullptr), -1);
    EXPECT_EQ(CTplRec().FindEntry(&two), -1);
}

TEST(TplRec, CopiesAreSeparateAndEmptySourcesChangeNothing)
{
    CTplRec source;
    source.Add(Text("x"));
    source.Add(Text("y"));
    source.SetId(8);
    CTplRec copy(source);
    EXPECT_EQ(Entries(copy), Entries(source));
    EXPECT_EQ(copy.GetId(), 8);
    copy.GetEntry(0)->SetAt(0, 'z');
    EXPECT_STREQ(source.GetEntry(0)->GetText(), "x");

    CTplRec target;
    target.Add(Text("keep"));
    target.SetId(3);
    target.CopyFrom(CTplRec());
    EXPECT_EQ(Entries(target), std::vector<std::string>{"keep"});
    EXPECT_EQ(target.GetId(), 3);
    target.CopyFrom(source);
    EXPECT_EQ(Entries(target), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(target.GetId(), 8);
}

TEST(TplRec, ClearEmptiesAndForgetsTheId)
{
    CTplRec list;
    list.SetId(5);
    list.Clear(); // nothing to clear: the id stays
    EXPECT_EQ(list.GetId(), 5);
    list.Add(Text("abcd"));
    list.Add(Text("ef"));
    EXPECT_EQ(list.GetMemorySize(), 2 * 4 + 56 + (8 + 4) + (8 + 2));
    list.Clear();
    EXPECT_EQ(list.GetEntryCount(), 0);
    EXPECT_EQ(list.GetId(), -1);
    EXPECT_EQ(list.GetMemorySize(), 56);
}

} // namespace
