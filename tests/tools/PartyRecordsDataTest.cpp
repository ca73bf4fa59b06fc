// The sample item, health and person records compile to the layouts the party's code reads
// field by field: every field at its offset with its size, as qmlib prints them.
#include <gtest/gtest.h>

#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmLib.h"

namespace {

struct Field {
    int offset;
    int size;
    const char* value;
};

// qmlib's lines for the fields in order, then the record's size.
std::string Lines(const std::vector<Field>& fields, int size)
{
    std::string out;
    for (const Field& f : fields)
        out += std::to_string(f.offset) + " " + std::to_string(f.size) + " " + f.value + "\n";
    return out + "size " + std::to_string(size) + "\n";
}

std::string Record(const char* type, const char* id)
{
    const std::string lib = (qmtest::SourceDir() / "data" / "game" / "QM3Data").string();
    const qmtest::ToolRun r = qmtest::RunTool(RunQmLib, {"record", lib, type, id});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

TEST(PartyRecordsData, ItemRecordsHoldTheirFieldsAtTheirOffsets)
{
    // Bacon: type, units per package, package weight, price, shelf life, category, tags.
    std::vector<Field> fields = {{0, 2, "19"}, {2, 2, "10"}, {4, 4, "160"}, {8, 4, "500"}, {12, 2, "90"},
                                 {14, 2, "3"}, {16, 2, "2"}, {18, 2, "14"}, {20, 2, "27"}};
    for (int offset = 22; offset < 36; offset += 2)
        fields.push_back({offset, 2, "0"});
    EXPECT_EQ(Record("IVT", "19"), Lines(fields, 36));
}

TEST(PartyRecordsData, HealthRecordsAreTwentyThreeWords)
{
    // Kind 13: flags 0x100 with W 5, incubation 1-2, active 3-5, recovery 2-4, severity
    // 40-50, recovery severity 3, recognised at 60 percent, then unused words.
    const char* values[] = {"256", "0", "5",  "0", "0", "1", "2", "3", "5", "2", "4", "40",
                            "50",  "3", "60", "0", "0", "0", "0", "0", "0", "0", "0"};
    std::vector<Field> fields;
    for (int i = 0; i < 23; ++i)
        fields.push_back({2 * i, 2, values[i]});
    EXPECT_EQ(Record("HLT", "13"), Lines(fields, 46));
}

TEST(PartyRecordsData, PersonRecordsKeepTheirValuesAfterTheSkills)
{
    // Person 1: age, occupation, four skills, an unused word, the values P and Q.
    EXPECT_EQ(Record("PPL", "1"), Lines({{0, 2, "8"},
                                         {2, 2, "6"},
                                         {4, 2, "6"},
                                         {6, 2, "9"},
                                         {8, 2, "12"},
                                         {10, 2, "15"},
                                         {12, 4, "0"},
                                         {16, 4, "93501"},
                                         {20, 4, "93521"}},
                                        24));
    // An occupation: the four skills at 4-11 of 16 bytes.
    EXPECT_EQ(
        Record("OCP", "1"),
        Lines({{0, 4, "93501"}, {4, 2, "4"}, {6, 2, "11"}, {8, 2, "1"}, {10, 2, "8"}, {12, 4, "0"}}, 16));
}

} // namespace
