// The route's sample records as the engine and the library tool compile them: every record of
// a type has its type's size, is a run of 16-bit words with no padding, and holds the values
// the game reads at the offsets its record layouts give.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "engine/resources/TextRsrc.h"
#include "game/travel/RouteEvent.h"
#include "tests/game/travel/SampleData.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmLib.h"

namespace {

namespace fs = std::filesystem;

fs::path DataFolder() { return qmtest::SourceDir() / "data" / "game" / "QM3Data"; }

// The record's words by byte offset; the test fails when the items are not back-to-back
// 16-bit words filling `size` bytes.
std::map<int, int> Words(const std::string& type, int id, int size)
{
    const qmtest::ToolRun r =
        qmtest::RunTool(RunQmLib, {"record", DataFolder().string(), type, std::to_string(id)});
    EXPECT_EQ(r.status, 0) << r.err;
    std::map<int, int> words;
    std::istringstream lines(r.out);
    std::string first;
    int expected = 0;
    while (lines >> first) {
        if (first == "size") {
            int total = 0;
            lines >> total;
            EXPECT_EQ(total, size);
            break;
        }
        int width = 0, value = 0;
        lines >> width >> value;
        EXPECT_EQ(std::stoi(first), expected) << type << " " << id;
        EXPECT_EQ(width, 2);
        words[expected] = value;
        expected += 2;
    }
    EXPECT_EQ(expected, size) << type << " " << id;
    return words;
}

// Every record of the route's types as the engine compiles it (the code qmlib record runs).
TEST(SampleRecords, EveryRouteRecordHasItsTypesLayout)
{
    traveltest::OpenSampleData();
    const std::pair<const char*, int32_t> types[] = {{"NOD", 206}, {"RVR", 78}, {"WTH", 120}, {"EVT", 288}};
    for (const auto& [type, size] : types) {
        int records = 0;
        for (const fs::directory_entry& file : fs::directory_iterator(DataFolder() / type)) {
            const int id = std::stoi(file.path().stem().string());
            // Resource 0 is the format; the events share one layout, which one of them shows
            // (their values are read below).
            if (id == 0 || (std::string(type) == "EVT" && id != 1))
                continue;
            SCOPED_TRACE(testing::Message() << type << " " << id);
            const std::unique_ptr<CTextRsrc> record = CTextRsrc::Create(type, id, 0xFFFFFFFF, true);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->GetSize(), size);
            int32_t expected = 0;
            for (const CTextRsrc::Item& item : record->GetItems()) {
                EXPECT_EQ(item.offset, expected);
                EXPECT_EQ(CTextRsrc::GetItemSize(item), 2);
                expected += 2;
            }
            EXPECT_EQ(expected, size);
            ++records;
        }
        EXPECT_GT(records, 0) << type;
    }
    // Every event's first choice has a text that resolves and needs no item (Enter answers
    // every dialog); every picture is a picture of the data, and plain rain has no dialog but
    // the rain clip.
    for (int16_t type = 1; type <= 115; ++type) {
        SCOPED_TRACE(testing::Message() << "EVT " << type);
        const CRouteEvent event(type);
        ASSERT_TRUE(event.HasRecord());
        EXPECT_GT(event.GetTextNumber(0), 0);
        EXPECT_NE(event.GetTextNumber(0), 4);
        EXPECT_EQ(event.GetRequiredItem(0), 0);
        if (event.GetDisplayKind() != CRouteEvent::kNoDialog) {
            const std::string picture = std::to_string(1000000 + event.GetPicture(0)).substr(1) + ".CBM";
            EXPECT_TRUE(fs::exists(DataFolder() / "CBM" / picture));
        }
    }
    const CRouteEvent rain(115);
    EXPECT_EQ(rain.GetDisplayKind(), CRouteEvent::kNoDialog);
    EXPECT_TRUE(fs::exists(DataFolder() / "SMK" / "011500.SMK"));
    EXPECT_EQ(rain.GetDelay(-1), 0) << "no lost hours without a step";
    EXPECT_NE(rain.GetTextNumber(-1), 4) << "resolved without a step";
}

TEST(SampleRecords, TheRiverNodeAndItsCrossingHoldTheirValuesWhereTheGameReadsThem)
{
    const std::map<int, int> river = Words("NOD", 6, 206);
    const std::pair<int, int> node[] = {{2, 8},   {6, 2},  {8, 6},   {10, 2},  {16, 23},   {18, 24}, {58, 7},
                                        {64, 11}, {66, 0}, {194, 3}, {198, 0}, {202, 104}, {204, 0}};
    for (const auto& [offset, value] : node)
        EXPECT_EQ(river.at(offset), value) << "offset " << offset;
    const std::map<int, int> crossing = Words("RVR", 6, 78);
    const std::pair<int, int> rvr[] = {{0, 2}, {4, 200}, {8, 30}, {10, 25}, {12, 24}, {62, 500}};
    for (const auto& [offset, value] : rvr)
        EXPECT_EQ(crossing.at(offset), value) << "offset " << offset;
    const std::map<int, int> climate = Words("WTH", 10, 120);
    EXPECT_EQ(climate.at(3 * 10 + 0), 82) << "April's high bound";
    EXPECT_EQ(climate.at(3 * 10 + 8), 350) << "April's normal precipitation";
}

} // namespace
