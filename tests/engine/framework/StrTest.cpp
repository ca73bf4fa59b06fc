#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/EngineStrings.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"

namespace {

std::string S(const CStr& s) { return s.GetText(); }

std::vector<std::string> Entries(const CTplRec* list)
{
    std::vector<std::string> out;
    for (int32_t i = 0; list && i < list->GetEntryCount(); ++i)
        out.push_back(list->GetEntry(i)->GetText());
    return out;
}

TEST(Str, EmptyStringsShareOneTextAndNeverAllocate)
{
    CStr a, b("", 0), c(static_cast<const char*>(nullptr));
    EXPECT_EQ(a.GetText(), b.GetText());
    EXPECT_EQ(a.GetText(), c.GetText());
    CStr copy(a);
    EXPECT_EQ(copy.GetText(), a.GetText());
    CStr cut("abc");
    cut.Delete(0, 3);
    EXPECT_EQ(cut.GetText(), a.GetText());
    CStr shared(a.GetText());
    EXPECT_EQ(shared.GetText(), a.GetText());
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetLength(), 0);
    EXPECT_EQ(a.FirstChar(), '\0');
    // Operations that write in place leave the shared text alone.
    a.MakeUpper();
    a.MapChars(3);
    a.Reverse();
    a.SetAt(0, 'x');
    EXPECT_STREQ(b.GetText(), "");
}

TEST(Str, ConstructsFromTextsAndCounts)
{
    EXPECT_EQ(S(CStr("abcdef", 3)), "abc");
    EXPECT_EQ(S(CStr("ab", 5)), "ab"); // padded with NUL bytes
    EXPECT_EQ(CStr("ab", 5).GetLength(), 2);
    EXPECT_EQ(S(CStr("abcdef", 0)), "abcdef");
    const CStr source("hello");
    EXPECT_EQ(S(CStr(&source, 4)), "hell");
    EXPECT_EQ(S(CStr(&source, 9)), "hello");
    EXPECT_TRUE(CStr(static_cast<const CStr*>(nullptr), 3).IsEmpty());
    EXPECT_TRUE(CStr(&source, 0).IsEmpty());
}

TEST(Str, DecimalConstructorGroupsDigits)
{
    struct Case {
        int32_t value;
        bool grouping;
        const char* text;
    };
    const Case cases[] = {
        {0, true, "0"},
        {7, true, "7"},
        {999, true, "999"},
        {1000, true, "1,000"},
        {1234567, true, "1,234,567"},
        {-1234567, true, "-1,234,567"},
        {-1234567, false, "-1234567"},
        {123456, true, "123,456"},
        {INT32_MAX, true, "2,147,483,647"},
        {INT32_MIN, true, "-2,147,483,648"},
        {INT32_MIN, false, "-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(S(CStr(c.value, c.grouping)), c.text) << c.value;
}

TEST(Str, AppendsPrependsAndInserts)
{
    CStr s("mid");
    s.Append(CStr("end"));
    s.Prepend(CStr("start"));
    EXPECT_EQ(S(s), "startmidend");
    s.Append(static_cast<const CStr*>(nullptr));
    s += CStr();
    EXPECT_EQ(S(s), "startmidend");
    EXPECT_EQ(S(CStr("a") + CStr("b")), "ab");
    s.Append(s);
    EXPECT_EQ(S(s), "startmidendstartmidend");

    struct Case {
        int32_t index;
        bool ok;
        const char* text;
    };
    const Case cases[] = {
        {-1, true, "abcXY"}, {0, true, "XYabc"}, {1, true, "aXYbc"},
        {3, true, "abcXY"},  {4, false, "abc"},  {-2, false, "abc"},
    };
    for (const Case& c : cases) {
        CStr t("abc");
        EXPECT_EQ(t.Insert(CStr("XY"), c.index), c.ok) << c.index;
        EXPECT_EQ(S(t), c.text) << c.index;
    }
}

TEST(Str, AssignTakesOverTheSource)
{
    CStr s("old");
    s.Assign(std::make_unique<CStr>("new"));
    EXPECT_EQ(S(s), "new");
    s.Assign(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(Str, GetAtAndSetAt)
{
    const CStr abc("abc");
    EXPECT_EQ(abc.GetAt(-1), 'c');
    EXPECT_EQ(abc.GetAt(0), 'a');
    EXPECT_EQ(abc.GetAt(3), '\0');
    EXPECT_EQ(abc.GetAt(-2), '\0');
    EXPECT_EQ(CStr().GetAt(-1), '\0');
    CStr s("abc");
    s.SetAt(1, 'X');
    EXPECT_EQ(S(s), "aXc");
}

TEST(Str, SetAtOutsideTheTextIsFatal)
{
    std::vector<std::string> strings(12, "-");
    strings[11] = "Index out of range";
    SetEngineStrings(strings);
    for (int32_t index : {3, -1}) {
        plat::GetScriptedMessageBoxes().Clear();
        CStr s("abc");
        EXPECT_THROW(s.SetAt(index, 'Y'), plat::FatalError) << index;
        ASSERT_EQ(plat::GetScriptedMessageBoxes().Log().size(), 1u);
        EXPECT_EQ(plat::GetScriptedMessageBoxes().Log()[0].text,
                  "Fatal Error: Index out of range\r\rFile: Str  Line: 1010");
        EXPECT_EQ(S(s), "abc");
    }
}

TEST(Str, Searches)
{
    const CStr s("abcabc");
    EXPECT_EQ(s.Find('c', 0), 2);
    EXPECT_EQ(s.Find('c', 3), 5);
    EXPECT_EQ(s.Find('c', -4), 2);
    EXPECT_EQ(s.Find('c', 6), -1);
    EXPECT_EQ(s.Find('z', 0), -1);
    EXPECT_EQ(s.FindAnyOf(CStr("xc"), 0), 2);
    EXPECT_EQ(s.FindAnyOf(CStr("xb"), 2), 4);
    EXPECT_EQ(s.FindAnyOf(CStr("b"), 5), -1);
    EXPECT_EQ(s.FindAnyOf(CStr("a"), 6), -1);
    EXPECT_EQ(CStr().FindAnyOf(CStr("a"), 0), -1);

    int32_t pos = 0;
    EXPECT_EQ(s.FindNext(CStr("bc"), pos), 1);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(s.FindNext(CStr("bc"), pos), 4);
    EXPECT_EQ(pos, 6);
    pos = 5;
    EXPECT_EQ(s.FindNext(CStr("bc"), pos), -1);
    EXPECT_EQ(pos, 6);
    pos = 2;
    EXPECT_EQ(s.FindNext(CStr(), pos), -1);
    EXPECT_EQ(pos, 2);
    pos = 6;
    EXPECT_EQ(s.FindNext(CStr("a"), pos), -1);
    EXPECT_EQ(pos, 6);
}

TEST(Str, Comparisons)
{
    EXPECT_EQ(CStr::CompareText(nullptr, "a", true), -1);
    EXPECT_EQ(CStr::CompareText("a", nullptr, true), 1);
    EXPECT_LT(CStr::CompareText("ABC", "abc", true), 0);
    EXPECT_EQ(CStr::CompareText("ABC", "abc", false), 0);
    EXPECT_EQ(CStr::CompareText("abd", "ABC", false), 1);
    EXPECT_LT(CStr::CompareText("ab", "abc", false), 0);
    EXPECT_EQ(CStr("STR").Compare(CStr("str")), 0);
    EXPECT_LT(CStr("CBM").Compare(CStr("str")), 0);
    EXPECT_TRUE(CStr("abc") == CStr("abc"));
    EXPECT_FALSE(CStr("abc") == CStr("ABC"));
}

TEST(Str, ExtractRules)
{
    struct Case {
        const char* text;
        int32_t pos, count;
        bool ok;
        const char* result;
    };
    const Case cases[] = {
        {"abcdef", 2, -6, true, "bcdef"},
        {"abcdef", -1, 2, true, "ef"},
        {"abcdef", 7, 1, false, "abcdef"},
        {"abcdef", 2, 6, false, "abcdef"},
        {"abcdef", 2, 5, true, "bcdef"},
        {"abcdef", 0, 3, true, "abc"},
        {"abcdef", 0, -6, true, "abcdef"},
        {"abcdef", -1, -6, true, "abcdef"},
        {"abcdef", 6, 1, true, "f"},
        {"abcdef", -2, 1, false, "abcdef"},
        {"abcdef", 3, 0, true, ""},
        {"abcdef", 1, -2, false, "abcdef"},
        {"", 0, -6, false, ""},
    };
    for (const Case& c : cases) {
        CStr s(c.text);
        EXPECT_EQ(s.Extract(c.pos, c.count), c.ok) << c.pos << "," << c.count;
        EXPECT_EQ(S(s), c.result) << c.pos << "," << c.count;
    }
    const CStr source("abcdef");
    CStr dest("old");
    EXPECT_TRUE(source.ExtractTo(3, 2, &dest));
    EXPECT_EQ(S(dest), "cd");
    EXPECT_EQ(S(source), "abcdef");
    EXPECT_FALSE(source.ExtractTo(9, 2, &dest));
    EXPECT_EQ(S(dest), "cd");
    EXPECT_FALSE(source.ExtractTo(1, 1, nullptr));
}

TEST(Str, DeleteRules)
{
    struct Case {
        const char* text;
        int32_t index, count;
        bool ok;
        const char* result;
    };
    const Case cases[] = {
        {"abcdef", 1, 2, true, "adef"},
        {"abcdef", 4, 9, true, "abcd"},
        {"abcdef", 6, 1, false, "abcdef"},
        {"abcdef", 2, 0, true, "abcdef"},
        {"abcdef", -1, 3, true, "bcdef"},
        {"abcdef", -2, 2, true, "abcdef"},
        {"", -1, 5, true, ""},
    };
    for (const Case& c : cases) {
        CStr s(c.text);
        EXPECT_EQ(s.Delete(c.index, c.count), c.ok) << c.index << "," << c.count;
        EXPECT_EQ(S(s), c.result) << c.index << "," << c.count;
    }
    CStr s("abcdef");
    s.DeleteLeft(2);
    s.DeleteRight(1);
    EXPECT_EQ(S(s), "cde");
    s.DeleteRight(10);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(Str, ReplaceAndRemoveChars)
{
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        bool ok;
        const char* result;
    };
    const Case cases[] = {
        {"aaa", "aa", "b", true, "ba"},
        {"a-b-c", "-", "", true, "abc"},
        {"MMMM dd", "MMMM", "%mmmm", true, "%mmmm dd"},
        {"abc", "x", "y", false, "abc"},
        {"ab", "abc", "y", false, "ab"},
        {"abc", "", "y", false, "abc"},
        {"", "a", "y", false, ""},
        {"abab", "ab", "abab", true, "abababab"},
    };
    for (const Case& c : cases) {
        CStr s(c.text);
        EXPECT_EQ(s.Replace(CStr(c.from), CStr(c.to)), c.ok) << c.text;
        EXPECT_EQ(S(s), c.result) << c.text;
    }
    CStr s("a,b;c");
    EXPECT_TRUE(s.RemoveChars(CStr(",;")));
    EXPECT_EQ(S(s), "abc");
    EXPECT_TRUE(s.RemoveChars(CStr("xyz")));
    EXPECT_EQ(S(s), "abc");
    CStr empty;
    EXPECT_FALSE(empty.RemoveChars(CStr("a")));
}

TEST(Str, SpansAndTokens)
{
    const CStr s("  ab12 c");
    const CStr blanks(" ");
    int32_t pos = 0;
    EXPECT_EQ(S(*s.SpanOf(blanks, pos)), "  ");
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(S(*s.SpanOf(blanks, pos)), "");
    EXPECT_EQ(pos, 2);
    pos = 8;
    EXPECT_EQ(S(*s.SpanOf(blanks, pos)), "");
    EXPECT_EQ(pos, 8);

    pos = 2;
    EXPECT_EQ(S(*s.NextSpanOf(CStr("0123456789"), pos)), "12");
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(S(*s.NextSpanOf(CStr("0123456789"), pos)), "");
    EXPECT_EQ(pos, 6);

    const CStr list("a,,b");
    const CStr comma(",");
    pos = 0;
    const std::pair<const char*, int32_t> steps[] = {{"a", 1}, {"", 2}, {"", 3}, {"b", 4}, {"", 4}};
    for (const auto& [text, next] : steps) {
        EXPECT_EQ(S(*list.NextToken(comma, pos)), text);
        EXPECT_EQ(pos, next);
    }
}

TEST(Str, TokenizeAndSplitWords)
{
    auto tokens = CStr(",,a,bc,,d,").Tokenize(CStr(","));
    EXPECT_EQ(Entries(tokens.get()), (std::vector<std::string>{"a", "bc", "d"}));
    EXPECT_EQ(CStr(",,,").Tokenize(CStr(",")), nullptr);
    EXPECT_EQ(CStr().Tokenize(CStr(",")), nullptr);
    auto words = CStr("dddd, MMMM dd, yyyy\r\n\tx.y!z?w;v:u\f\vt").SplitWords();
    EXPECT_EQ(Entries(words.get()),
              (std::vector<std::string>{"dddd", "MMMM", "dd", "yyyy", "x", "y", "z", "w", "v", "u", "t"}));
}

TEST(Str, LengthAndSize)
{
    struct Case {
        const char* text;
        int32_t n;
        const char* afterSetLength;
        const char* afterSetSize;
    };
    const Case cases[] = {
        {"abc", 0, "", "abc"},
        {"abc", 1, "a", ""},
        {"abc", 2, "ab", "ab"},
        {"abc", 4, "abc ", "abc"},
        {"abc", 5, "abc  ", "abc\x01\x01"},
        {"abc", -1, "abc", "abc"},
        {"", 2, "  ", "\x01\x01"},
    };
    for (const Case& c : cases) {
        CStr a(c.text), b(c.text);
        a.SetLength(c.n);
        b.SetSize(c.n);
        EXPECT_EQ(S(a), c.afterSetLength) << c.text << " " << c.n;
        EXPECT_EQ(S(b), c.afterSetSize) << c.text << " " << c.n;
    }
}

TEST(Str, CaseAndReverse)
{
    CStr s("Hello, World \xC4");
    s.MakeUpper();
    EXPECT_EQ(S(s), "HELLO, WORLD \xC4");
    s.MakeLower();
    EXPECT_EQ(S(s), "hello, world \xC4");
    s.Reverse();
    EXPECT_EQ(S(s), "\xC4 dlrow ,olleh");
}

TEST(Str, ParseNumber)
{
    struct Case {
        const char* text;
        int32_t base;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"0x1F", 0, true, 31},      {"-1,234", 0, true, -1234}, {"12a", 0, false, 12}, {"0x", 0, false, 0},
        {"0X10", 0, true, 16},      {"-0x10", 0, true, -16},    {"ff", 16, true, 255}, {"FF", 16, true, 255},
        {"1,0", 16, false, 1},      {"0x10", 16, false, 0},     {"", 0, false, 0},     {"-", 0, true, 0},
        {"4294967297", 0, true, 1}, {"1 2", 0, false, 1},
    };
    for (const Case& c : cases) {
        int32_t out = -99;
        EXPECT_EQ(CStr(c.text).ParseNumber(&out, c.base), c.ok) << c.text;
        EXPECT_EQ(out, c.value) << c.text;
    }
    int32_t out = 5;
    EXPECT_TRUE(CStr("1,234,567").ToLong(&out));
    EXPECT_EQ(out, 1234567);
    EXPECT_TRUE(CStr("7f").ToLongHex(&out));
    EXPECT_EQ(out, 127);
    EXPECT_FALSE(CStr("1").ParseNumber(nullptr, 0));
}

TEST(Str, CharacterMaps)
{
    const uint8_t* typo = CStr::GetCharMap(3);
    const uint8_t* plain = CStr::GetCharMap(2);
    ASSERT_NE(typo, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(CStr::GetCharMap(1), nullptr);
    EXPECT_EQ(CStr::GetCharMap(5), nullptr);
    // A sample of the typographic table, one entry per row.
    const std::pair<int, int> typoCases[] = {{0x80, 0xC4}, {0x9F, 0xFC}, {0xA5, 0x95}, {0xBE, 0xE6},
                                             {0xC9, 0x85}, {0xD2, 0x93}, {0xE0, 0x87}, {0xFB, 0xB0},
                                             {0xAA, 0x99}, {0xD0, 0x96}, {0xFF, 0x20}};
    for (const auto& [mac, win] : typoCases)
        EXPECT_EQ(typo[mac - 0x80], win) << std::hex << mac;
    // The plain table differs in exactly seven places.
    const std::pair<int, int> plainCases[] = {{0xAA, 0x20}, {0xD0, 0xAD}, {0xD1, 0xAD}, {0xD2, 0x22},
                                              {0xD3, 0x22}, {0xD4, 0x27}, {0xD5, 0x27}};
    int differences = 0;
    for (int i = 0; i < 128; ++i)
        differences += typo[i] != plain[i];
    EXPECT_EQ(differences, 7);
    for (const auto& [mac, win] : plainCases)
        EXPECT_EQ(plain[mac - 0x80], win) << std::hex << mac;

    CStr s("\xD2q\xD3 \x80");
    s.MapChars(2);
    EXPECT_EQ(S(s), "\"q\" \xC4");
    CStr t("\xD2\x80");
    t.MapChars(5);
    EXPECT_EQ(S(t), "\xD2\x80");
    t.MapChars(3);
    EXPECT_EQ(S(t), "\x93\xC4");
}

TEST(Str, UnmapReversesTheTables)
{
    // Every Mac code whose Windows code is unique in the table comes back unchanged.
    for (int selector : {2, 3}) {
        const uint8_t* forward = CStr::GetCharMap(selector);
        for (int mac = 0x80; mac < 0x100; ++mac) {
            const uint8_t win = forward[mac - 0x80];
            if (win < 0x80)
                continue;
            int last = 0;
            for (int other = 0x80; other < 0x100; ++other)
                if (forward[other - 0x80] == win)
                    last = other;
            char text[2] = {static_cast<char>(win), 0};
            CStr s(text);
            s.UnmapChars(selector);
            EXPECT_EQ(static_cast<uint8_t>(s.GetAt(0)), last) << selector << " " << std::hex << mac;
        }
    }
    // In the plain table several Mac codes share a mark: the highest wins.
    CStr s("\xAD\x99\x81");
    s.UnmapChars(2);
    EXPECT_EQ(S(s), "\xD1  "); // 0x99 comes only from the trade mark, which plain drops
    CStr t("\x99");
    t.UnmapChars(3);
    EXPECT_EQ(S(t), "\xAA");
    // Any selector but 3 uses the plain reverse table.
    CStr u("\xAD");
    u.UnmapChars(7);
    EXPECT_EQ(S(u), "\xD1");
}

} // namespace
