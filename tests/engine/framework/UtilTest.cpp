#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/framework/Util.h"

namespace {

TEST(UtilRandom, ReproducesTheRuntimeSequence)
{
    CUtil::SetRandomSeed(1);
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int32_t value : expected)
        EXPECT_EQ(CUtil::Random(0, 32767, 1), value);

    CUtil::SetRandomSeed(12345);
    const int32_t percent[] = {85, 65, 96, 26, 29, 6};
    for (int32_t value : percent)
        EXPECT_EQ(CUtil::Random(1, 100, 1), value);

    // The truncated mean of three draws.
    CUtil::SetRandomSeed(12345);
    EXPECT_EQ(CUtil::Random(60, 100, 3), 81);
    EXPECT_EQ(CUtil::Random(60, 100, 3), 82);
}

TEST(UtilRandom, RangesAndDegenerateArguments)
{
    CUtil::SetRandomSeed(7);
    for (int i = 0; i < 2000; ++i) {
        const int32_t r = CUtil::Random(1, 100, 1);
        ASSERT_TRUE(r >= 1 && r <= 100) << r;
        const int32_t m = CUtil::Random(60, 100, 3);
        ASSERT_TRUE(m >= 60 && m <= 100) << m;
        const int32_t j = CUtil::Random(-5, 5, 1);
        ASSERT_TRUE(j >= -5 && j <= 5) << j;
    }
    // A range wider than a draw never passes lo + 32767.
    for (int i = 0; i < 2000; ++i)
        ASSERT_LE(CUtil::Random(0, 1000000, 1), 32767);
    EXPECT_EQ(CUtil::Random(5, 5, 1), 5);

    // An empty range answers lo without drawing.
    CUtil::SetRandomSeed(1);
    EXPECT_EQ(CUtil::Random(6, 5, 1), 6);
    EXPECT_EQ(CUtil::Random(INT32_MIN, INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(CUtil::Random(0, 32767, 1), 41);
    // A count below one is one draw, not a division by zero.
    EXPECT_EQ(CUtil::Random(0, 32767, 0), 18467);
}

TEST(UtilRandom, UnseededGeneratorSeedsItselfOnce)
{
    CUtil::ResetRandom();
    CUtil::Random(6, 5, 1); // an empty range does not seed
    const int32_t first = CUtil::Random(0, 32767, 1);
    // Seeding with the current time gives the sequence of that seed from its first draw.
    const uint32_t now = static_cast<uint32_t>(std::time(nullptr));
    bool matched = false;
    for (uint32_t seed = now - 2; seed <= now; ++seed) {
        CUtil::SetRandomSeed(seed);
        matched = matched || CUtil::Random(0, 32767, 1) == first;
    }
    EXPECT_TRUE(matched);
}

TEST(Util, TrigonometryInDegreesSnapsToZero)
{
    EXPECT_EQ(CUtil::SinDeg(180.0), 0.0);
    EXPECT_EQ(CUtil::CosDeg(90.0), 0.0);
    EXPECT_EQ(CUtil::SinDeg(90.0), 1.0);
    EXPECT_EQ(CUtil::CosDeg(0.0), 1.0);
    EXPECT_EQ(CUtil::SinDeg(-360.0), 0.0);
    // Ten-digit pi: the sine of 30 degrees is a little above one half.
    EXPECT_NE(CUtil::SinDeg(30.0), 0.5);
    EXPECT_NEAR(CUtil::SinDeg(30.0), 0.50000000006, 1e-11);
    EXPECT_EQ(CUtil::SinDeg(0.005), 0.0); // 8.7e-5 is below the threshold
    EXPECT_NE(CUtil::SinDeg(0.006), 0.0);
}

TEST(Util, RoundsHalvesUpwards)
{
    const std::pair<double, double> cases[] = {{2.5, 3.0},    {2.49, 2.0}, {-2.5, -2.0},
                                               {-2.51, -3.0}, {0.0, 0.0},  {7.0, 7.0}};
    for (const auto& [x, r] : cases)
        EXPECT_EQ(CUtil::RoundHalfUp(x), r) << x;
}

TEST(Util, PickDistinctGivesEachNumberOnce)
{
    CUtil::SetRandomSeed(3);
    for (int round = 0; round < 50; ++round) {
        int16_t out[5] = {};
        CUtil::PickDistinct(1, 5, 5, out);
        std::vector<int16_t> sorted(out, out + 5);
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, (std::vector<int16_t>{1, 2, 3, 4, 5}));
    }
    int16_t some[3] = {};
    CUtil::PickDistinct(10, 19, 3, some);
    for (int16_t v : some)
        EXPECT_TRUE(v >= 10 && v <= 19);
    EXPECT_TRUE(some[0] != some[1] && some[1] != some[2] && some[0] != some[2]);
    // More than the range holds: only the range is written.
    int16_t guarded[6] = {0, 0, 0, -1, -1, -1};
    CUtil::PickDistinct(1, 3, 6, guarded);
    std::sort(guarded, guarded + 3);
    EXPECT_EQ(std::vector<int16_t>(guarded, guarded + 6), (std::vector<int16_t>{1, 2, 3, -1, -1, -1}));
}

TEST(Util, MoveBytesHandlesOverlap)
{
    char up[] = "abcde";
    CUtil::MoveBytes(up, up + 1, 4);
    EXPECT_STREQ(up, "aabcd");
    char down[] = "abcde";
    CUtil::MoveBytes(down + 1, down, 4);
    EXPECT_STREQ(down, "bcdee");
    char none[] = "abc";
    CUtil::MoveBytes(none + 1, none, 0);
    CUtil::MoveBytes(none + 1, none, -3);
    EXPECT_STREQ(none, "abc");
}

TEST(UtilScan, SkipsBlanksAndComments)
{
    const char* text = "  \t\r\n# line\r\n// another\n /* block\n */ x";
    EXPECT_EQ(*CUtil::SkipBlanksAndComments(text), 'x');
    const char* open = " /* never closed";
    EXPECT_EQ(CUtil::SkipBlanksAndComments(open), open + std::strlen(open));
    const char* slash = " /x";
    EXPECT_EQ(CUtil::SkipBlanksAndComments(slash), slash + 1);
    const char* end = "";
    EXPECT_EQ(CUtil::SkipBlanksAndComments(end), end);
}

TEST(UtilScan, ReadsNumbersInThreeBases)
{
    struct Case {
        const char* text;
        int32_t value;
        int16_t error;
        const char* rest; // the text left after the read
    };
    const Case cases[] = {
        {"-h1F", -31, 0, ""},
        {"b101", 5, 0, ""},
        {"-h-10", 16, 0, ""},
        {"50% next", 50, 0, "next"},
        {"12x", 12, 0, "x"},
        {"x12", 0, 1, "x12"},
        {"  42  # c\n 7", 42, 0, "7"},
        {"+7", 7, 0, ""},
        {"hff", 255, 0, ""},
        {"b102", 2, 0, "2"},
        {"-", 0, 0, ""},
        {"h ", 0, 0, ""},
        {"%5", 0, 1, "%5"},
        {"4294967297", 1, 0, ""},
        {"-2147483648", INT32_MIN, 0, ""},
        {"12/*c*/3", 12, 0, "3"},
    };
    for (const Case& c : cases) {
        int32_t value = -99;
        int16_t error = -1;
        const char* p = CUtil::ReadLong(c.text, &value, "label", &error);
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_STREQ(p, c.rest) << c.text;
    }
}

TEST(UtilScan, TypedReadersCutAndSign)
{
    uint16_t us = 0;
    CUtil::ReadUShort("-5", &us, "n", nullptr);
    EXPECT_EQ(us, 5);
    uint8_t ub = 0;
    CUtil::ReadUByte("300", &ub, "n", nullptr);
    EXPECT_EQ(ub, 44);
    int8_t sb = 0;
    CUtil::ReadByte("-h80", &sb, "n", nullptr);
    EXPECT_EQ(sb, -128);
    int16_t ss = 0;
    CUtil::ReadShort("-70000", &ss, "n", nullptr);
    EXPECT_EQ(ss, static_cast<int16_t>(-70000));
    uint32_t ul = 0;
    CUtil::ReadULong("-4000000000", &ul, "n", nullptr);
    EXPECT_EQ(ul, 4000000000u);
    // With no error pointer a bad number is reported, and the reader still returns.
    int32_t l = 5;
    const std::string longLabel(500, 'L');
    const char* text = "zz";
    EXPECT_EQ(CUtil::ReadLong(text, &l, longLabel.c_str(), nullptr), text);
    EXPECT_EQ(l, 0);
}

TEST(UtilScan, WordsAndQuotedStrings)
{
    struct Case {
        const char* text;
        int16_t size;
        const char* word;
        const char* rest;
    };
    const Case cases[] = {
        {"hello world", 32, "hello", "world"},
        {"\"a \\\"b\\\" c\" tail", 32, "a \"b\" c", "tail"},
        {"'it''s'", 32, "it", "'s'"},
        {"one\\ word next", 32, "one word", "next"},
        {"joined\\\nline", 32, "joinedline", ""},
        {"end\\", 32, "end", ""},
        {"  # comment\n  word", 32, "word", ""},
        {"abcdefgh", 4, "abc", "defgh"},
        {"\"abcdefgh\" x", 4, "abc", "defgh\" x"},
        {"\"\" x", 8, "", "x"},
    };
    for (const Case& c : cases) {
        char out[64];
        std::memset(out, '?', sizeof out);
        const char* p = CUtil::ReadCString(c.text, out, c.size);
        EXPECT_STREQ(out, c.word) << c.text;
        EXPECT_STREQ(p, c.rest) << c.text;
    }
    char raw[8];
    int16_t length = -1;
    CUtil::ReadToken("xyz", raw, 2, &length);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(std::string(raw, 2), "xy");
}

TEST(UtilScan, LengthPrefixedStrings)
{
    const std::string text(300, 'p');
    unsigned char out[300];
    CUtil::ReadPString(text.c_str(), out, 300);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), 255), std::string(255, 'p'));
    CUtil::ReadPString("\"two words\"", out, 300);
    EXPECT_EQ(out[0], 9);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), 9), "two words");
}

TEST(UtilScan, LinesStepOverOneLineEnd)
{
    const char* text = "abc\r\ndef";
    char out[32];
    int16_t length = -1;
    const char* p = CUtil::CopyLine(text, out, 16, &length);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(std::string(out, 3), "abc");
    EXPECT_EQ(*p, '\n');
    p = CUtil::CopyLine(p, out, 16, &length);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(*p, 'd');
    p = CUtil::ReadLine(p, out, 3);
    EXPECT_STREQ(out, "de");
    EXPECT_STREQ(p, "f");
    p = CUtil::ReadLine(" \\ # not a comment", out, 32);
    EXPECT_STREQ(out, " \\ # not a comment");
}

TEST(UtilScan, SymbolicNamesOrNumbers)
{
    const CUtil::EnumEntry table[] = {{"LEFT", 1}, {"RIGHT", 2}, {"CENTER", -3}, {"", 0}, {"AFTER", 9}};
    struct Case {
        const char* text;
        int16_t value;
        int16_t error;
    };
    const Case cases[] = {
        {"RIGHT", 2, 0}, {"CENTER", -3, 0}, {"42", 42, 0},      {"-h10", -16, 0},
        {"right", 0, 1}, {"AFTER", 0, 1},   {"\"LEFT\"", 1, 0},
    };
    for (const Case& c : cases) {
        int16_t out = 77;
        int16_t error = -1;
        CUtil::ReadEnum(c.text, table, &out, "align", &error);
        EXPECT_EQ(out, c.value) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    int16_t out = 77;
    int16_t error = -1;
    const char* p = CUtil::ReadEnum("   ", table, &out, "align", &error);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(out, 77);
    EXPECT_STREQ(p, "");
    p = CUtil::ReadEnum("LEFT more", table, &out, "align", nullptr);
    EXPECT_EQ(out, 1);
    EXPECT_STREQ(p, "more");
}

TEST(UtilAppend, BigEndianValuesGrowTheBlock)
{
    CMemory block;
    EXPECT_TRUE(CUtil::AppendShortBE(0x1234, &block));
    EXPECT_TRUE(CUtil::AppendLongBE(static_cast<int32_t>(0x89ABCDEF), &block));
    EXPECT_TRUE(CUtil::AppendByte('z', &block));
    EXPECT_TRUE(CUtil::AppendCString("hi", &block));
    EXPECT_TRUE(CUtil::AppendBytes("\x01\x02", 2, &block));
    ASSERT_EQ(block.GetSize(), 12);
    const auto* data = static_cast<const uint8_t*>(block.Lock());
    const std::vector<uint8_t> bytes(data, data + 12);
    block.Unlock();
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF, 'z', 'h', 'i', 0, 1, 2}));
}

TEST(UtilAppend, ABlockThatCannotGrowIsLeftAlone)
{
    CMemory block;
    CUtil::AppendShortBE(0x0102, &block);
    block.Lock(); // a locked block refuses to resize
    EXPECT_FALSE(CUtil::AppendLongBE(0x0A0B0C0D, &block));
    EXPECT_EQ(block.GetSize(), 2);
    block.Unlock();
    EXPECT_FALSE(CUtil::AppendByte('x', nullptr));
    EXPECT_FALSE(CUtil::AppendCString(nullptr, &block));
    EXPECT_FALSE(CUtil::AppendBytes(nullptr, 3, &block));
    EXPECT_EQ(block.GetSize(), 2);
}

} // namespace
