#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/StdioBuffer.h"

namespace {

std::vector<std::string> Lines(const CStdioBuffer& buffer)
{
    std::vector<std::string> lines;
    for (int32_t i = 0; i <= buffer.GetLines(); ++i)
        lines.emplace_back(buffer.Line(i));
    return lines;
}

using Strings = std::vector<std::string>;

TEST(StdioBuffer, SizesAndStartState)
{
    CStdioBuffer buffer;
    for (auto [asked, given] : {std::pair{0, 8192}, {100, 1024}, {1024, 1024}, {-5, 1024}, {5000, 5000}}) {
        ASSERT_TRUE(buffer.Allocate(asked));
        EXPECT_EQ(buffer.GetSize(), given) << asked;
    }
    EXPECT_EQ(buffer.GetWritePos(), 1);
    EXPECT_EQ(buffer.GetLines(), 0);
    EXPECT_EQ(Lines(buffer), Strings{""});
}

TEST(StdioBuffer, WriteRules)
{
    struct Case {
        std::string text;
        Strings lines;
        int32_t column;
        int32_t bells = 0;
    };
    const std::string long200(200, 'x');
    const Case cases[] = {
        {"hello\nworld", {"hello", "world"}, 5},
        {"a\n\nb\n", {"a", "", "b", ""}, 0},
        // Tabs run to the next multiple of 8, at least one space.
        {"abcde\tX", {"abcde   X"}, 9},
        {"abcdefgh\tX", {"abcdefgh        X"}, 17},
        {"\tX", {"        X"}, 9},
        // Back steps within the line only; what is behind the write position is gone.
        {"abc\b\bX", {"aX"}, 2},
        {"\b\bab\nc\b\b\bd", {"ab", "d"}, 1},
        // Escape erases back to the start of the line.
        {"one\ntwo\x1b"
         "2",
         {"one", "2"},
         1},
        // Bells ring and are not stored; CR, other control bytes, 128-254 and 255 are dropped.
        {"a\a\rb\x01\x1a\x80\xfe\xff"
         "c\a",
         {"abc"},
         3,
         2},
        // 28-31 and 127 are stored.
        {"\x1c\x7f", {"\x1c\x7f"}, 2},
        // A line of 200 characters shows as 127 and 73.
        {long200, {std::string(127, 'x'), std::string(73, 'x')}, 73},
        {std::string(127, 'y') + "\n", {std::string(127, 'y'), ""}, 0},
        // A tab's spaces that do not fit on a full line continue on the next.
        {std::string(125, 'z') + "\tQ", {std::string(125, 'z') + "  ", " Q"}, 2},
    };
    for (const auto& c : cases) {
        CStdioBuffer buffer;
        ASSERT_TRUE(buffer.Allocate(0));
        const auto result = buffer.Write(c.text);
        EXPECT_EQ(Lines(buffer), c.lines) << c.text;
        EXPECT_EQ(buffer.GetColumn(), c.column) << c.text;
        EXPECT_EQ(result.bells, c.bells) << c.text;
        EXPECT_EQ(buffer.GetLines(), static_cast<int32_t>(c.lines.size()) - 1);
        EXPECT_FALSE(result.trimmed);
    }
}

TEST(StdioBuffer, WritesAcrossCallsContinueTheLine)
{
    CStdioBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(0));
    buffer.Write("ab");
    auto result = buffer.Write("c\nd");
    EXPECT_EQ(result.firstLine, 0);
    result = buffer.Write("e");
    EXPECT_EQ(result.firstLine, 1);
    EXPECT_EQ(Lines(buffer), (Strings{"abc", "de"}));
    EXPECT_EQ(buffer.GetLineStart(), 5);
    EXPECT_EQ(buffer.GetWritePos(), 7);
    buffer.Clear();
    EXPECT_EQ(Lines(buffer), Strings{""});
    EXPECT_EQ(buffer.GetWritePos(), 1);
}

std::string NumberedLine(int i)
{
    char text[16];
    std::snprintf(text, sizeof text, "L%03d-abcd\n", i); // ten bytes with its end
    return text;
}

TEST(StdioBuffer, DropsWholeLinesFromTheFrontInStepsOf256)
{
    CStdioBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(1024));
    // Line i starts at 1 + 10 i; 101 lines end at 1011, and the next write of ten bytes
    // comes within 8 bytes of the end (1011 + 10 + 8 >= 1024).
    for (int i = 0; i < 101; ++i)
        ASSERT_FALSE(buffer.Write(NumberedLine(i)).trimmed) << i;
    EXPECT_EQ(buffer.GetWritePos(), 1011);
    const auto result = buffer.Write(NumberedLine(101));
    // The first line start at or after 256 is line 26's at 261.
    EXPECT_TRUE(result.trimmed);
    EXPECT_EQ(result.droppedLines, 26);
    EXPECT_EQ(result.firstLine, 75);
    EXPECT_EQ(buffer.GetLines(), 76);
    EXPECT_EQ(buffer.Line(0), "L026-abcd");
    EXPECT_EQ(buffer.Line(75), "L101-abcd");
    EXPECT_EQ(buffer.GetWritePos(), 1011 - 260 + 10);
    EXPECT_EQ(buffer.GetColumn(), 0);
}

TEST(StdioBuffer, LongWritesNeverRunPastTheEnd)
{
    // 1023 characters into the smallest buffer, then tabs that put 8 bytes in for each byte:
    // the buffer keeps dropping lines and ends with the newest text.
    CStdioBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(1024));
    std::string text(1023, 'a');
    text.back() = 'Z';
    buffer.Write(text);
    EXPECT_EQ(buffer.Line(buffer.GetLines()), std::string(1023 % 127, 'a').substr(1) + "Z");
    buffer.Write(std::string(900, '\t') + "end");
    EXPECT_EQ(buffer.Line(buffer.GetLines()).substr(buffer.GetColumn() - 3), "end");
    EXPECT_LT(buffer.GetWritePos(), buffer.GetSize());
    for (int32_t i = 0; i < buffer.GetLines(); ++i)
        EXPECT_LE(buffer.Line(i).size(), 127u);
}

TEST(StdioTypeAhead, HoldsUpTo255KeysInOrder)
{
    CStdioTypeAhead ring;
    uint8_t key = 0;
    EXPECT_FALSE(ring.Push('x')); // not allocated
    ASSERT_TRUE(ring.Allocate());
    EXPECT_TRUE(ring.IsEmpty());
    EXPECT_FALSE(ring.Pop(key));
    for (int round = 0; round < 2; ++round) { // the second round wraps around the ring
        for (int i = 0; i < 255; ++i)
            ASSERT_TRUE(ring.Push(static_cast<uint8_t>(i))) << i;
        EXPECT_FALSE(ring.Push(0xEE));
        for (int i = 0; i < 200; ++i) {
            ASSERT_TRUE(ring.Pop(key));
            EXPECT_EQ(key, static_cast<uint8_t>(i));
        }
        for (int i = 200; i < 255; ++i)
            ASSERT_TRUE(ring.Pop(key));
        EXPECT_EQ(key, 254);
        EXPECT_TRUE(ring.IsEmpty());
    }
}

} // namespace
