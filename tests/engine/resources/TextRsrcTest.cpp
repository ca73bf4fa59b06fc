#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/framework/Str.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/TextRsrc.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using deftext::MakeBlock;

class TextRsrcTest : public ::testing::Test {
protected:
    void SetUp() override { deftext::InstallEngineStrings(); }

    // Defines the type's format from format text.
    static void UseFormat(const char* type, const std::string& formatText)
    {
        auto text = MakeBlock(formatText, type, 0);
        CFormatList::Get().AddItem(type, CFormatList::CompileFormat(text.get()));
    }

    static std::unique_ptr<CTextRsrc> Compile(const char* type, const std::string& recordText)
    {
        return std::make_unique<CTextRsrc>(MakeBlock(recordText, type, 5), 0xFFFFFFFF);
    }
};

// The stored items as "offset:value", numbers read at their size (signed), strings quoted.
std::string Layout(CTextRsrc& record)
{
    std::string out;
    for (const CTextRsrc::Item& item : record.GetItems()) {
        const int32_t size = CTextRsrc::GetItemSize(item);
        (out += out.empty() ? "" : " ") += std::to_string(item.offset) + ":";
        if (item.code == kFmtString || item.code == kFmtFString) {
            const CStr* s = record.GetString(item.offset);
            out += s ? std::string("\"") + s->GetText() + "\"" : "null";
            continue;
        }
        int32_t v = 0;
        if (size == 1) {
            int8_t b;
            record.GetBytes(&b, 1, item.offset);
            v = b;
        } else if (size == 2) {
            int16_t s;
            record.GetBytes(&s, 2, item.offset);
            v = s;
        } else {
            record.GetBytes(&v, 4, item.offset);
        }
        out += std::to_string(v);
    }
    return out;
}

TEST_F(TextRsrcTest, PackingRule)
{
    const struct {
        const char* format;
        const char* text;
        const char* layout;
        int32_t size;
    } cases[] = {
        {"byte short long", "1 2 3", "0:1 4:2 8:3", 12},
        {"byte byte byte byte short", "1 2 3 4 5", "0:1 1:2 2:3 3:4 4:5", 6},
        {"short byte", "1 2", "0:1 4:2", 5}, // the last run is not padded
        {"byte var byte", "1 2", "0:1 4:2", 5},
        {"byte long", "-1, -2", "0:-1 4:-2", 8},
        {"short short short long", "1 2 3 4", "0:1 2:2 4:3 8:4", 12},
        {"list short endlist", "1 2 3", "0:3 4:1 6:2 8:3", 10}, // no padding after the count
        {"sizelist 2 short byte endlist long", "1 2 3 4 5 6", "0:1 4:2 8:3 12:4 16:5", 20},
        {"byte fbyte fnshort 7 fnlong 0x10 fstring string", "1 \"s\" ", "0:1 1:0 4:7 8:16 12:null 16:\"s\"",
         20},
        {"list byte short endlist", "1 2 3 4", "0:2 4:1 8:2 12:3 16:4", 18}, // elements of mixed sizes align
        {"long long", "1", "0:1", 4},                                        // the record ends with its text
    };
    for (const auto& c : cases) {
        CFormatList::Get().Clear();
        UseFormat("TST", c.format);
        auto record = Compile("TST", c.text);
        ASSERT_TRUE(record->IsCompiled()) << c.format;
        EXPECT_EQ(Layout(*record), c.layout) << c.format;
        EXPECT_EQ(record->GetSize(), c.size) << c.format;
    }
}

TEST_F(TextRsrcTest, TypedItemsTakeMembersOfTheirEnumeration)
{
    UseFormat("TST", "tshort Color tubyte Color tlong Color long");
    auto record =
        Compile("TST", "enum Color { Red, Green, Blue = 0x7F };\n#define Two 2\nGreen Blue Red+Blue Two");
    EXPECT_EQ(Layout(*record), "0:1 4:127 8:127 12:2");
    EXPECT_EQ(deftext::FatalReport([] { Compile("TST", "enum Color { Red };\n#define Two 2\nTwo"); }),
              "Fatal Error: 5:TST 5\r\rFile: parseraw  Line: 991");
}

TEST_F(TextRsrcTest, TheLibraryIdentityRecord)
{
    AddLibIdFormat();
    auto record = Compile("LID", "0x10000000, 3, -7\n\"First text\" \"QM3\"");
    ASSERT_EQ(record->GetSize(), 20);
    EXPECT_EQ(Layout(*record), "0:268435456 4:3 8:-7 12:\"First text\" 16:\"QM3\"");
    uint32_t handles[2];
    record->GetBytes(handles, 8, 12);
    EXPECT_NE(handles[0], 0u); // the string slots hold handles
    std::unique_ptr<CStr> taken = record->TakeString(16);
    ASSERT_NE(taken, nullptr);
    EXPECT_STREQ(taken->GetText(), "QM3");
    record->GetBytes(handles, 8, 12);
    EXPECT_EQ(handles[1], 0u); // taken over: the slot is empty
    EXPECT_EQ(record->GetString(16), nullptr);
    EXPECT_EQ(record->TakeString(16), nullptr);
    EXPECT_EQ(record->GetString(8), nullptr); // a number is no string
    EXPECT_EQ(record->GetString(13), nullptr);
}

TEST_F(TextRsrcTest, CopiesOwnTheirStrings)
{
    UseFormat("nod", "string list string endlist");
    auto first = Compile("NOD", "a b c"); // record types match without regard to case
    CTextRsrc copy(*first);
    first.reset();
    EXPECT_EQ(Layout(copy), "0:\"a\" 4:2 8:\"b\" 12:\"c\"");
    EXPECT_STREQ(copy.GetType(), "NOD");
    EXPECT_EQ(copy.GetId(), 5);
}

TEST_F(TextRsrcTest, GroupsThatReadNoTextEnd)
{
    const struct {
        const char* format;
        const char* text;
        const char* layout;
    } cases[] = {
        {"list fbyte endlist long", "9", "0:1 4:0 8:9"},      // would repeat for ever
        {"sizelist 0 short endlist", "1 2 3", "0:1 2:2 4:3"}, // runs until the text ends
        {"sizelist 2000000000 var endlist long", "4", "0:4"},
        {"sizelist 3 fshort endlist short", "4", "0:0 2:0 4:0 6:4"}, // fixed items repeat their count
    };
    for (const auto& c : cases) {
        CFormatList::Get().Clear();
        UseFormat("TST", c.format);
        auto record = Compile("TST", c.text);
        EXPECT_EQ(Layout(*record), c.layout) << c.format;
    }
}

TEST_F(TextRsrcTest, FormatLimitsAreFatalReports)
{
    std::string deep;
    for (int i = 0; i < 20; ++i)
        deep += "sizelist 1 ";
    deep += "long";
    UseFormat("DEP", deep);
    EXPECT_EQ(deftext::FatalReport([] { Compile("DEP", "1"); }),
              "Fatal Error: 5:DEP 5\r\rFile: parseraw  Line: 991");

    CTextRsrc::SetRecordSizeLimit(4096);
    UseFormat("BIG", "sizelist 100000000 flong endlist");
    EXPECT_EQ(deftext::FatalReport([] { Compile("BIG", "1"); }),
              "Fatal Error: 5:BIG 5\r\rFile: parseraw  Line: 991");
}

TEST_F(TextRsrcTest, FormatTextCompilesToItemCodes)
{
    auto text =
        MakeBlock("// a format\nBYTE tshort Color\n sizelist 2+1, fnlong -1 endlist var fstring", "TST", 0);
    auto format = CFormatList::CompileFormat(text.get());
    const std::vector<uint8_t> expected = {
        kFmtByte, kFmtTShort, 'C',        'o',  'l',  'o',  'r',  0,           kFmtSizeList, 3,          0,
        0,        0,          kFmtFNLong, 0xFF, 0xFF, 0xFF, 0xFF, kFmtEndList, kFmtVar,      kFmtFString};
    EXPECT_EQ(*format, expected);

    auto bad = MakeBlock("byte bite", "TST", 0);
    EXPECT_EQ(deftext::FatalReport([&] { CFormatList::CompileFormat(bad.get()); }),
              "Fatal Error: 15:\r\rFile: TextRsrc  Line: 1480");
}

TEST_F(TextRsrcTest, FormatsAreFoundByTypeWithoutCase)
{
    const uint8_t a[] = {kFmtByte};
    const uint8_t b[] = {kFmtLong};
    AddRecordFormat("Abc", 1, a);
    AddRecordFormat("ABC", 1, b); // a second definition is never found
    AddRecordFormat(nullptr, 1, a);
    ASSERT_NE(CFormatList::Get().Find("aBC"), nullptr);
    EXPECT_EQ(*CFormatList::Get().Find("aBC"), std::vector<uint8_t>{kFmtByte});
    EXPECT_EQ(CFormatList::Get().GetCount(), 2);
}

TEST_F(TextRsrcTest, BadSourcesAreFatalReports)
{
    EXPECT_EQ(deftext::FatalReport([] { CTextRsrc r(nullptr, 0xFFFFFFFF); }),
              "Fatal Error: 5:\r\rFile: TextRsrc  Line: 181");
    EXPECT_EQ(deftext::FatalReport([] { CTextRsrc r(MakeBlock("", "TST", 3), 0xFFFFFFFF); }),
              "Fatal Error: 4:\r\rFile: TextRsrc  Line: 184");
    EXPECT_EQ(deftext::FatalReport([] { CTextRsrc r("TST", 0, 0xFFFFFFFF, false); }),
              "Fatal Error: 13:\r\rFile: TextRsrc  Line: 591");
    CTextRsrc negative("TST", -1, 0xFFFFFFFF, true);
    EXPECT_FALSE(negative.IsCompiled());
    CTextRsrc empty("TST");
    EXPECT_FALSE(empty.IsCompiled());
    EXPECT_EQ(empty.GetSize(), 0);
}

} // namespace

namespace {

TEST_F(TextRsrcTest, RecordsAndFormatsFromTheLibraries)
{
    deftext::AddFolderLibrary({
        {"NOD", 0, "short ushort // the format"},
        {"NOD", 12, "3, 0xFFFF"},
        {"NOD", 13, ""}, // the library does not hold empty resources
        {"XYZ", 1, "1"}, // no format
    });
    std::unique_ptr<CTextRsrc> record = CTextRsrc::Create("nod", 12, 0xFFFFFFFF, true);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetId(), 12);
    EXPECT_EQ(record->GetSize(), 4);
    uint16_t values[2];
    record->GetBytes(values, 4, 0);
    EXPECT_EQ(values[0], 3);
    EXPECT_EQ(values[1], 0xFFFF);

    EXPECT_EQ(CTextRsrc::Create("NOD", 99, 0xFFFFFFFF, false), nullptr);
    EXPECT_EQ(CTextRsrc::Create("NOD", 13, 0xFFFFFFFF, false), nullptr);
    EXPECT_EQ(CTextRsrc::Create("NOD", 12, 0x0, false), nullptr);
    EXPECT_EQ(deftext::FatalReport([] { CTextRsrc::Create("NOD", 99, 0xFFFFFFFF, true); }),
              "Fatal Error: 12:\r\rFile: TextRsrc  Line: 617");
    EXPECT_EQ(deftext::FatalReport([] { CTextRsrc::Create("NOD", 13, 0xFFFFFFFF, true); }),
              "Fatal Error: 12:\r\rFile: TextRsrc  Line: 617");
    EXPECT_EQ(deftext::FatalReport([] { CTextRsrc::Create("XYZ", 1, 0xFFFFFFFF, false); }),
              "Fatal Error: 12:\r\rFile: TextRsrc  Line: 1296");
}

} // namespace
