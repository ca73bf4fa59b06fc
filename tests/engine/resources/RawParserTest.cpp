#include <gtest/gtest.h>

#include <climits>

#include "engine/framework/EngineProfile.h"
#include "engine/framework/Str.h"
#include "platform/Fatal.h"
#include "tests/engine/resources/DefinitionText.h"

using deftext::ErrorCode;
using deftext::Text;

namespace {

class RawParserTest : public ::testing::Test {
protected:
    void SetUp() override { deftext::InstallEngineStrings(); }
};

int32_t ReadOneLong(const std::string& text)
{
    Text t(text);
    return t.parser.ReadLong("value");
}

TEST_F(RawParserTest, ExpressionsRunStrictlyLeftToRight)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"2+3*4", 20},
        {"10-2-3", 5},
        {"-5", -5},
        {"7/2", 3},
        {"-7%3", -1},
        {"0x1F|0x20", 63},
        {"12&10", 8},
        {"*5", 0}, // the leading operator applies to the starting 0
        {"2 +\n 3 // line ends and comments between operands\n * 4", 20},
        {"0xFFFFFFFF+2", 1}, // 32-bit wrap-around
        {"7/0", 0},          // division and remainder by 0 give 0
        {"7%0", 0},
        {"0x80000000/0xFFFFFFFF", INT32_MIN}, // the one quotient that does not fit wraps
        {"0x80000000%0xFFFFFFFF", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorCode([&] { EXPECT_EQ(ReadOneLong(c.text), c.value) << c.text; }), 0) << c.text;
}

TEST_F(RawParserTest, NumberForms)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0x1f", 31},   {"0X1F", 31},           {"101b", 5},
        {"101B", 5},    {"0b101", 5},           {"09", 9},
        {"010", 10},    {"'AB'", 16706},        {"'ABCD'", 0x41424344},
        {"'\xff'", -1}, {"'\x80\x01'", -32767}, // each character counts as a signed byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadOneLong(c.text), c.value) << c.text;
}

TEST_F(RawParserTest, CharacterConstantsHoldAtMostFourCharacters)
{
    EXPECT_EQ(ErrorCode([] { ReadOneLong("'ABCDE'"); }), CRawParser::kErrCharConstant);
    // Without its closing quote a constant ends with the text.
    Text open("'AB");
    EXPECT_EQ(open.parser.ReadLong("value"), 16706);
    EXPECT_TRUE(open.AtEnd());
}

TEST_F(RawParserTest, ValuesAreSeparatedByBlanksAndOneComma)
{
    Text t("0x10, 2 3 ,, 4");
    EXPECT_EQ(t.parser.ReadLong("a"), 16);
    EXPECT_EQ(t.Rest(), "2 3 ,, 4");
    EXPECT_EQ(t.parser.ReadLong("b"), 2);
    EXPECT_EQ(t.parser.ReadLong("c"), 3);
    EXPECT_EQ(t.Rest(), ", 4"); // a second comma is not skipped
}

TEST_F(RawParserTest, SingleLineValuesEndBeforeAComment)
{
    const struct {
        const char* text;
        int32_t value;
        const char* rest;
    } cases[] = {
        {"8/2 // note\n5", 4, "// note\n5"},
        {"8 /* note */ 5", 8, "/* note */ 5"},
        {"#define X 8\nX // note", 8, "// note"},
        {"3 \\\n + 4", 7, ""}, // a backslash before the line end continues the line
        {"3\n+4", 3, "\n+4"},
    };
    for (const auto& c : cases) {
        Text t(c.text);
        EXPECT_EQ(t.parser.ReadLong("v", nullptr, true, nullptr, false), c.value) << c.text;
        EXPECT_EQ(t.Rest(), c.rest) << c.text;
    }
}

TEST_F(RawParserTest, NamesInExpressions)
{
    EXPECT_EQ(ReadOneLong("#define X 5\nX+1"), 6);
    EXPECT_EQ(ErrorCode([] { ReadOneLong("Unknown"); }), CRawParser::kErrUnknownName);
    EXPECT_EQ(ErrorCode([] { ReadOneLong("@"); }), CRawParser::kErrNotAValue);
    EXPECT_EQ(ErrorCode([] { ReadOneLong("5+"); }), CRawParser::kErrNotAValue);
    EXPECT_EQ(ErrorCode([] { ReadOneLong("2+-3"); }), CRawParser::kErrNotAValue); // one operator at a time
    // A text constant is not a number.
    EXPECT_EQ(ErrorCode([] { ReadOneLong("#define S \"text\"\nS"); }), CRawParser::kErrUnknownName);

    // With a status nothing is reported: the value read before the unknown name comes back.
    Text t("3+Unknown 9");
    int16_t status = -1;
    EXPECT_EQ(t.parser.ReadLong("v", nullptr, true, &status), 3);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(t.Rest(), "9");
}

TEST_F(RawParserTest, ReadersCheckTheirRangeOnlyWithoutAStatus)
{
    using P = CRawParser;
    const struct {
        const char* text;
        int32_t (*read)(CRawParser&);
        int32_t value; // when no error
        int16_t code;
    } cases[] = {
        {"127", [](P& p) -> int32_t { return p.ReadByte("b"); }, 127, 0},
        {"128", [](P& p) -> int32_t { return p.ReadByte("b"); }, 0, P::kErrByteHigh},
        {"-129", [](P& p) -> int32_t { return p.ReadByte("b"); }, 0, P::kErrByteLow},
        {"255", [](P& p) -> int32_t { return p.ReadUByte("b"); }, 255, 0},
        {"256", [](P& p) -> int32_t { return p.ReadUByte("b"); }, 0, P::kErrUByteHigh},
        {"-1", [](P& p) -> int32_t { return p.ReadUByte("b"); }, 0, P::kErrUByteLow},
        {"-32768", [](P& p) -> int32_t { return p.ReadShort("s"); }, -32768, 0},
        {"32768", [](P& p) -> int32_t { return p.ReadShort("s"); }, 0, P::kErrShortHigh},
        {"-32769", [](P& p) -> int32_t { return p.ReadShort("s"); }, 0, P::kErrShortLow},
        {"65535", [](P& p) -> int32_t { return p.ReadUShort("s"); }, 65535, 0},
        {"65536", [](P& p) -> int32_t { return p.ReadUShort("s"); }, 0, P::kErrUShortHigh},
        {"-1", [](P& p) -> int32_t { return p.ReadUShort("s"); }, 0, P::kErrUShortLow},
        {"-1", [](P& p) -> int32_t { return static_cast<int32_t>(p.ReadULong("l") == 0xFFFFFFFFu); }, 1, 0},
    };
    for (const auto& c : cases) {
        Text t(c.text);
        int32_t value = 0;
        EXPECT_EQ(ErrorCode([&] { value = c.read(t.parser); }), c.code) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }

    Text t("128, -1");
    int16_t status = -1;
    EXPECT_EQ(t.parser.ReadByte("b", nullptr, true, &status), -128);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(t.parser.ReadUShort("s", nullptr, true, &status), 65535);
    EXPECT_EQ(status, 0);
}

TEST_F(RawParserTest, NothingLeftToReadGivesZero)
{
    Text t("1 // only comments and blanks follow\n  /* x */ \r\n");
    EXPECT_EQ(t.parser.ReadLong("a"), 1);
    EXPECT_TRUE(t.AtEnd());
    int16_t status = -1;
    EXPECT_EQ(t.parser.ReadLong("b", nullptr, true, &status), 0);
    EXPECT_EQ(status, 0);
}

TEST_F(RawParserTest, ParseErrorsAreFatalReportsNamingTheResource)
{
    auto block = deftext::MakeBlock("Unknown", "NOD", 1234);
    CRawParser parser(block.get(), 0xFFFFFFFF);
    parser.Preprocess();
    parser.LockSource();
    EXPECT_EQ(deftext::FatalReport([&] { parser.ReadLong("value"); }),
              "Fatal Error: 5:NOD 1234\r\rFile: parseraw  Line: 991");
}

TEST_F(RawParserTest, DefineRdefAndUndef)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"#define X 5\n#define X 7\nX", 5}, // the first definition stays
        {"#define X 5\n#rdef X 7\nX", 7},
        {"#rdef New 3\nNew", 3},
        {"#define _WIN_ 0\n_WIN_", 1}, // predefined symbols are only changed by rdef
        {"#rdef _WIN_ 0\n_WIN_", 0},
        {"_WIN32_", 1},
        {"#define X\n5\nX", 5}, // the value may stand on the next line
        {"#define A 2\n#define B A*3+1 // note\nB", 7},
        {"#define X 5\n#undef X\n#define X 6\nX", 6},
        {"  #  define X 4\nX", 4}, // blanks before and after the '#'
        {"#define Z", 0},          // nothing after the name at the end of the text
    };
    for (const auto& c : cases) {
        Text t(c.text);
        EXPECT_EQ(t.parser.ReadLong("v"), c.value) << c.text;
    }
    Text undefined("#define X 5\n#undef X\n");
    EXPECT_EQ(undefined.parser.FindSymbol("X"), nullptr);
}

TEST_F(RawParserTest, TextConstants)
{
    Text t("#define S \"a b\"\n#define W word\n#define N 12\nS W N W2");
    char buffer[16];
    t.parser.ReadString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "a b");
    t.parser.ReadString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "word");
    t.parser.ReadString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, ""); // a numeric constant's text is empty
    t.parser.ReadString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "W2");
    ASSERT_NE(t.parser.FindSymbol("S"), nullptr);
    EXPECT_FALSE(t.parser.FindSymbol("S")->numeric);

    // A value that is neither a number nor a text.
    EXPECT_EQ(ErrorCode([] { Text bad("#define N 1\n#define F N+x\n"); }), CRawParser::kErrNotAValue);
}

TEST_F(RawParserTest, Enumerations)
{
    Text t("enum Color { Red, Green = 10, Blue }; enum Empty { };\n"
           "enum Trailing {\n  One, // comment\n  Two = One + 5,\n};\nBlue Trailing");
    int32_t value = 0;
    EXPECT_TRUE(t.parser.LookupValue("Red", &value, "Color"));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(t.parser.LookupValue("Green", &value, "Color"));
    EXPECT_EQ(value, 10);
    EXPECT_TRUE(t.parser.LookupValue("Blue", &value, "Color"));
    EXPECT_EQ(value, 11);
    EXPECT_TRUE(t.parser.LookupValue("Two", &value, "Trailing"));
    EXPECT_EQ(value, 5);
    EXPECT_FALSE(t.parser.LookupValue("Red", &value, "Trailing"));
    EXPECT_EQ(t.Rest(), "Blue Trailing");

    // Members of a named enumeration only; others by the enumOnly flag.
    Text members("enum Color { Red, Green };\n#define Five 5\nGreen Five Five Red");
    EXPECT_EQ(members.parser.ReadLong("c", "Color"), 1);
    EXPECT_EQ(ErrorCode([&] { members.parser.ReadLong("c", "Color"); }), CRawParser::kErrUnknownMember);
    Text loose("enum Color { Red, Green };\n#define Five 5\nFive Green");
    EXPECT_EQ(loose.parser.ReadLong("c", "Color", false), 5);
    EXPECT_EQ(loose.parser.ReadLong("c"), 1); // without an enumeration every numeric symbol counts

    const struct {
        const char* text;
        int16_t code;
    } bad[] = {
        {"enum E { A, B }", CRawParser::kErrEnumSyntax},                     // no semicolon
        {"enum E A, B };", CRawParser::kErrEnumSyntax},                      // no brace
        {"enum E { A B };", CRawParser::kErrEnumSyntax},                     // no comma
        {"enum E { A };\nenum F { X = A };", CRawParser::kErrUnknownMember}, // only its own members
    };
    for (const auto& c : bad)
        EXPECT_EQ(ErrorCode([&] { Text t2(c.text); }), c.code) << c.text;
}

TEST_F(RawParserTest, ConditionalBlocks)
{
    const struct {
        const char* text;
        const char* rest;
    } cases[] = {
        {"#ifdef _WIN32_\nyes\n#endif\nend", "yes\nend"},
        {"#ifndef _WIN32_\nno\n#endif\nend", "end"},
        {"enum E { M };\n#ifdef M\nno\n#endif\nend", "end"}, // a member is not "defined"
        {"#ifdef Nothing\n#ifdef _WIN_\nno\n#endif\nno\n#endif\nend", "end"},
        {"#ifdef _WIN_\n#ifndef _WIN_\nno\n#endif\nyes\n#endif\nend", "yes\nend"},
        {"#ifdef _WIN_\nstill open", "still open"}, // an unclosed block is no error
        {"a # ifdef X\nb", "a # ifdef X\nb"},       // '#' not first on its line
        {"\"#ifdef X\" /* #endif */ x", "\"#ifdef X\" /* #endif */ x"},
        {"#pragma once\nx", "#pragma once\nx"}, // an unknown directive stays
    };
    for (const auto& c : cases) {
        Text t(c.text);
        EXPECT_EQ(t.Rest(), c.rest) << c.text;
    }

    // A skipped block still removes symbols but defines none.
    Text t("#define X 1\n#ifdef Nothing\n#undef X\n#define Y 2\nenum E { M };\n#endif\n");
    EXPECT_EQ(t.parser.FindSymbol("X"), nullptr);
    EXPECT_EQ(t.parser.FindSymbol("Y"), nullptr);
    EXPECT_EQ(t.parser.FindSymbol("M"), nullptr);

    EXPECT_EQ(ErrorCode([] { Text t2("x\n#endif\n"); }), CRawParser::kErrEndifWithoutIf);
}

TEST_F(RawParserTest, AtMostTwentyFourConditionalBlocksNest)
{
    auto nest = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "#ifdef _WIN_\n";
        text += "inner\n";
        for (int i = 0; i < depth; ++i)
            text += "#endif\n";
        return text;
    };
    Text t(nest(24));
    EXPECT_EQ(t.Rest(), "inner\n");
    EXPECT_EQ(ErrorCode([&] { Text t2(nest(25)); }), CRawParser::kErrTooManyConditionals);
}

TEST_F(RawParserTest, PreprocessingLeavesTheTextWithOneTerminatingZero)
{
    const struct {
        std::string text;
        std::string after;
    } cases[] = {
        {"abc", std::string("abc\0", 4)},
        {std::string("abc\0", 4), std::string("abc\0", 4)},
        {std::string("ab\0cd\0", 6), std::string("ab\0", 3)}, // the first zero ends the text
        {"", std::string("\0", 1)},
        {"#define X 1\nv", std::string("v\0", 2)},
    };
    for (const auto& c : cases) {
        auto block = deftext::MakeBlock(c.text);
        CRawParser parser(block.get(), 0xFFFFFFFF);
        parser.Preprocess();
        EXPECT_EQ(deftext::BlockBytes(*block), c.after);
    }
}

TEST_F(RawParserTest, StringValues)
{
    Text t("\"quoted, with comma\" 'single' bare\\ word, \"esc\\n\\t\\q\" \"conti\\\nnued\"  \"\" last");
    const char* expected[] = {"quoted, with comma", "single", "bare word,", "esc\n\tq",
                              "continued",          "",       "last"};
    for (const char* e : expected) {
        char buffer[64];
        t.parser.ReadString(buffer, sizeof buffer);
        EXPECT_STREQ(buffer, e);
    }
    EXPECT_TRUE(t.AtEnd());

    // A value longer than the buffer is cut; the rest is read as the next value.
    Text longer("\"abcdef\"");
    char small[4];
    longer.parser.ReadString(small, sizeof small);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(longer.Rest(), "def\"");

    Text str("first \"second\"");
    std::unique_ptr<CStr> s = str.parser.ReadStr(2048);
    EXPECT_STREQ(s->GetText(), "first");
}

TEST_F(RawParserTest, LongNamesAreCut)
{
    const std::string name(600, 'n');
    Text t("#define " + name + " 3\n" + name + "+1");
    EXPECT_EQ(t.parser.ReadLong("v"), 4); // both spellings cut to the same 511 characters
    EXPECT_NE(t.parser.FindSymbol(std::string(511, 'n')), nullptr);
}

TEST_F(RawParserTest, IncludingADefinitionSetMergesItsSymbols)
{
    CRawParser::ParseDefinitions(
        deftext::MakeBlock("#define Base 40\nenum Dir { North, South };\n#rdef _WIN_ 9\n", "VAL", 99),
        0xFFFFFFFF);
    Text t("#define Base 1\n#include 000099.val\nBase+South _WIN_");
    EXPECT_EQ(t.parser.ReadLong("v"), 2); // a present symbol keeps its value
    EXPECT_EQ(t.parser.ReadLong("w"), 9); // predefined symbols of the set replace
    int32_t value = 0;
    EXPECT_TRUE(t.parser.LookupValue("North", &value, "Dir"));
    EXPECT_EQ(t.Rest(), "");
}

} // namespace

namespace {

TEST_F(RawParserTest, IncludingAResourceSplicesItsText)
{
    deftext::AddFolderLibrary({
        {"VAL", 5, "#define Inner 3\n7 8\n"},
        {"VAL", 6, "6\n#include 000005.VAL\n#ifdef Inner\n"}, // a block opened here closes in the includer
        {"VAL", 7, std::string("9\n\0\0", 4)},                // zero bytes at the end are not spliced
    });
    Text t("1\n#include 000006.VAL\n2 Inner\n#endif\n#include \"000007.val\"\n10");
    std::vector<int32_t> values;
    while (!t.AtEnd())
        values.push_back(t.parser.ReadLong("v"));
    EXPECT_EQ(values, (std::vector<int32_t>{1, 6, 7, 8, 2, 3, 9, 10}));

    EXPECT_EQ(ErrorCode([] { Text missing("#include 000077.VAL\n"); }), CRawParser::kErrIncludeMissing);
    auto block = deftext::MakeBlock("#include 000077.VAL\n");
    CRawParser parser(block.get(), 0xFFFFFFFF);
    EXPECT_EQ(deftext::FatalReport([&] { parser.Preprocess(); }),
              "Fatal Error: 6:VAL 77\r\rFile: parseraw  Line: 991");
    // Includes load under the parser's include mask.
    EXPECT_EQ(ErrorCode([] { Text masked("#include 000005.VAL\n", 0); }), CRawParser::kErrIncludeMissing);
}

TEST_F(RawParserTest, IncludesThatNeverEndAreReported)
{
    deftext::AddFolderLibrary({
        {"VAL", 1, "#include 000001.VAL\n"},    // itself
        {"VAL", 2, "x\n#include 000003.VAL\n"}, // each other
        {"VAL", 3, "y\n#include 000002.VAL\n"},
        {"VAL", 4, "#include 000005.VAL\n#include 000005.VAL\n"}, // the same twice is fine
        {"VAL", 5, "5"},
        {"VAL", 8, "8\n"},
        {"VAL", 9, "#include 000008.VAL\n#include 000008.VAL\n"},
    });
    EXPECT_EQ(ErrorCode([] { Text t("#include 000001.VAL\n"); }), CRawParser::kErrIncludeTooDeep);
    EXPECT_EQ(ErrorCode([] { Text t("#include 000002.VAL\n"); }), CRawParser::kErrIncludeTooDeep);
    // The included text takes the directive's place with its line end, so what follows a
    // text without a last line end joins its last line.
    Text joined("#include 000004.VAL\n");
    EXPECT_EQ(joined.Rest(), "5#include 000005.VAL\n");
    Text twice("#include 000009.VAL\n");
    EXPECT_EQ(twice.Rest(), "8\n8\n");
}

TEST_F(RawParserTest, AnIncludedTextMayOpenWithCommentsBeforeItsDirectives)
{
    // A template list that is another's copy, which takes its colours from a definition file:
    // each text opens with a comment.
    deftext::AddFolderLibrary({
        {"VAL", 5, "// Colours\n#define kInk 11\n"},
        {"TPL", 50000, "// The bar's elements\n/* two\nlines */\n#include 000005.VAL\n5, kInk\n"},
        {"TPL", 52000, "// The same as 050000.TPL's\n  #include 050000.TPL\n"},
    });
    Text t("#include 052000.TPL\n7");
    EXPECT_EQ(t.Rest().find('#'), std::string::npos) << t.Rest(); // every directive ran
    std::vector<int32_t> values;
    while (!t.AtEnd())
        values.push_back(t.parser.ReadLong("v"));
    EXPECT_EQ(values, (std::vector<int32_t>{5, 11, 7}));
}

TEST_F(RawParserTest, GlobalDefinitionSetsFromTheLibraries)
{
    deftext::AddFolderLibrary({{"VAL", 99, "#define Global 42\n"}});
    CRawParser::ParseResource("VAL", 99, 0xFFFFFFFF);
    CRawParser::ParseResource("VAL", 99, 0xFFFFFFFF); // a second set of the same resource is never found
    EXPECT_EQ(CRawItemList::Get().GetCount(), 2);
    // The set is merged, not spliced: its text is not read again.
    Text t("#include 000099.VAL\nGlobal");
    EXPECT_EQ(t.parser.ReadLong("v"), 42);
    EXPECT_EQ(deftext::FatalReport([] { CRawParser::ParseResource("VAL", 98, 0xFFFFFFFF); }),
              "Fatal Error: 6:VAL 98\r\rFile: libmgr  Line: 437");
}

TEST_F(RawParserTest, ApplicationVersionText)
{
    Text none("APPVERSTR");
    EXPECT_EQ(none.parser.FindSymbol("APPVERSTR"), nullptr);
    CRawParser::SetFallbackVersionText("3.1.4");
    Text t("APPVERSTR");
    char buffer[16];
    t.parser.ReadString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "3.1.4");
}

} // namespace

namespace {

// What a define left behind: "n=<value>" for a number, "t=<text>" for a text, or "error <code>".
std::string DefineOutcome(const std::string& text)
{
    std::string out = "none";
    const int16_t code = ErrorCode([&] {
        Text t(text + "\n");
        if (const RawSymbol* s = t.parser.FindSymbol("V"))
            out = s->numeric ? "n=" + std::to_string(s->value) : "t=" + s->text;
    });
    return code ? "error " + std::to_string(code) : out;
}

TEST_F(RawParserTest, DefineValuesUnderBothProfiles)
{
    const struct {
        const char* text;
        const char* game;
        const char* launcher;
    } cases[] = {
        {"#define V 4*8", "n=32", "n=32"},
        {"#define V nosuchword", "t=nosuchword", "error 13"},
        {"#define V \"quoted text\"", "t=quoted text", "t=quoted text"},
        {"#define V", "n=0", "n=0"}, // an empty text reads as the number 0
        {"#define V \"two\" words", "t=two", "t=\"two\" words"},
        {"#define V 2 + ", "t=2", "t=2 +"}, // no expression reads: the line is the text
        {"#define V 'a' // note", "n=97", "n=97"},
    };
    for (const auto& c : cases) {
        ResetEngineProfile();
        EXPECT_EQ(DefineOutcome(c.text), c.game) << c.text;
        SetEngineProfile(LauncherProfile());
        EXPECT_EQ(DefineOutcome(c.text), c.launcher) << c.text;
    }
    // The value stays on the directive's line, and a long one keeps 512 bytes.
    SetEngineProfile(LauncherProfile());
    // (An unclosed quotation mark keeps the long value from being read as a symbol.)
    Text t("#define V\n5\n#define W \"" + std::string(600, 'w') + "\n");
    EXPECT_EQ(t.parser.FindSymbol("V")->text, "");
    EXPECT_EQ(t.parser.ReadLong("v"), 5);
    EXPECT_EQ(t.parser.FindSymbol("W")->text.size(), 512u);
    // A skipped block reports nothing.
    EXPECT_EQ(ErrorCode([] { Text skipped("#ifdef Nothing\n#define V nosuchword\n#endif\n"); }), 0);
}

} // namespace
