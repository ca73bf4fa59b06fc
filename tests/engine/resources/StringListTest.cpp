#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/Appl.h"
#include "engine/framework/ApplHooks.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/RecReader.h"
#include "engine/resources/TplRecLoader.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using deftext::AddFolderLibrary;

class StringListTest : public ::testing::Test {
protected:
    void SetUp() override { deftext::InstallEngineStrings(); }
};

std::vector<std::string> Entries(const CTplRec& record)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < record.GetEntryCount(); ++i)
        out.push_back(record.GetEntry(i)->GetText());
    return out;
}

using Strings = std::vector<std::string>;

TEST_F(StringListTest, EntriesAreStringValuesInOrder)
{
    const std::string longEntry(3000, 'x');
    AddFolderLibrary({
        {"STR", 1, "\"one\",\"two\""},
        {"STR", 2, "one two"},
        {"STR", 3, "\"one\" \"two\""},
        {"STR", 4, "\"a, b\""},
        {"STR", 5, "\"" + longEntry + "\""},
        {"STR", 6, "// only a comment"},
        {"STR", 7, "  \r\n "},
        {"STR", 8, std::string("\0", 1)},
        {"STR", 9, std::string("a\0b", 3)},
        {"STR", 10,
         "#define Name \"from a constant\"\nName, 'single' \"line\\\none\"\n#include 000011.STR\nlast"},
        {"STR", 11, "\"spliced\""},
    });
    const struct {
        int32_t id;
        Strings entries;
    } cases[] = {
        {1, {"one", "two"}},
        {2, {"one", "two"}},
        {3, {"one", "two"}},
        {4, {"a, b"}},
        {5, {longEntry.substr(0, 2047), longEntry.substr(2047) + "\""}}, // the rest reads on
        {6, {""}},
        {7, {""}},
        {8, {}},
        {9, {"a"}}, // the first zero byte ends the text
        {10, {"from a constant", "single", "lineone", "spliced", "last"}},
    };
    for (const auto& c : cases) {
        CTplRec record;
        EXPECT_EQ(LoadTplRec(record, c.id, 0xFFFFFFFF, false), c.id);
        EXPECT_EQ(record.GetId(), c.id);
        EXPECT_EQ(Entries(record), c.entries) << c.id;
    }
}

TEST_F(StringListTest, MissingListsAndReloading)
{
    AddFolderLibrary({{"STR", 1, "a b c"}, {"STR", 2, std::string("\0", 1)}});
    CTplRec record;
    LoadTplRec(record, 1, 0xFFFFFFFF, true);
    EXPECT_EQ(LoadTplRec(record, 99, 0xFFFFFFFF, false), -1);
    EXPECT_EQ(record.GetEntryCount(), 0); // a load clears first
    EXPECT_EQ(record.GetId(), -1);
    EXPECT_EQ(CreateTplRec(99, 0xFFFFFFFF, false), nullptr);
    EXPECT_EQ(CreateTplRec(1, 0x0, false), nullptr); // no library answers the mask
    std::unique_ptr<CTplRec> empty = CreateTplRec(2, 0xFFFFFFFF, false);
    ASSERT_NE(empty, nullptr); // a text of only its terminating zero is a list of no entries
    EXPECT_EQ(empty->GetId(), 2);
    EXPECT_EQ(deftext::FatalReport([] { CreateTplRec(99, 0xFFFFFFFF, true); }),
              "Fatal Error: 6:STR 99\r\rFile: libmgr  Line: 437");
}

TEST_F(StringListTest, RecordReaderLines)
{
    AddFolderLibrary({{"STR", 40, "\"  alpha ; note\" \"# comment line\" \"\" beta \"   \" abcdef"},
                      {"STR", 41, "1234567 0x1F x -5 \"1,234\" \"\""}});
    CRecReader reader(40);
    int16_t& index = reader.ReadIndex();
    EXPECT_EQ(index, 0);
    std::unique_ptr<CStr> line = reader.NextLine(index, 80);
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line->GetText(), "alpha "); // spaces before a comment stay
    line = reader.NextLine(index, 80);
    EXPECT_STREQ(line->GetText(), "beta");
    line = reader.NextLine(index, 4);
    EXPECT_STREQ(line->GetText(), "abc");
    EXPECT_EQ(reader.NextLine(index, 80), nullptr);
    EXPECT_EQ(index, reader.GetEntryCount());

    CRecReader numbers(41);
    const int32_t expected[] = {123456, 31, -1, -5, 1234, -1, -1};
    for (int16_t i = 0; i < 7; ++i)
        EXPECT_EQ(numbers.GetNumber(i), expected[i]) << i;

    EXPECT_EQ(deftext::FatalReport([] { CRecReader missing(42); }),
              "Fatal Error: 6:STR 42\r\rFile: libmgr  Line: 437");
}

TEST_F(StringListTest, ApplicationHooksDefineLidAndLoadTheEngineMessages)
{
    AddFolderLibrary({{"STR", 8, "zero one two"}});
    InstallDefinitionTextHooks();
    CAppl app; // defines the record formats
    EXPECT_NE(CFormatList::Get().Lookup("LID"), nullptr);
    // Definition text sees the application's version as APPVERSTR.
    deftext::Text version("APPVERSTR");
    char buffer[32];
    version.parser.ReadString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, app.GetVersion());
    GetApplHooks().loadEngineStrings();
    EXPECT_STREQ(GetEngineString(1), "one");
    EXPECT_EQ(GetEngineString(3), nullptr);
}

} // namespace
