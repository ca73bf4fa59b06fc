#include "launcher/ButtonRecord.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/resources/FormatList.h"
#include "engine/resources/TextRsrc.h"
#include "launcher/LaunchCommand.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/LibraryFixtures.h"

namespace {

constexpr const char* kFormat = "string string string string long long long long long long string string "
                                "list string long string long string byte byte endlist";

class ButtonRecordTest : public ::testing::Test {
protected:
    void SetUp() override { deftext::InstallEngineStrings(); }

    static std::unique_ptr<CTextRsrc> Compile(const std::string& format, const std::string& text)
    {
        auto formatBlock = deftext::MakeBlock(format, "BTN", 0);
        CFormatList::Get().AddItem("BTN", CFormatList::CompileFormat(formatBlock.get()));
        return std::make_unique<CTextRsrc>(deftext::MakeBlock(text, "BTN", 1000), 0xFFFFFFFF);
    }
};

TEST_F(ButtonRecordTest, ReadsTheValuesInRecordOrder)
{
    auto record = Compile(kFormat, R"("Tour" "Tour window" "TourClass" "Tour border" 40 60 20 3 200 15
                                      "Caption" "x"
                                      "Play" 0 "qm3" 0 "PROGRAM did not start." 1 0
                                      "Exit" 0 "" 0 "" 1 0)");
    const std::optional<tour::ButtonRecord> button = tour::ReadButtonRecord(*record);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->title, "Tour");
    EXPECT_EQ(button->windowTitle, "Tour window");
    EXPECT_EQ(button->windowClass, "TourClass");
    EXPECT_EQ(button->borderTitle, "Tour border");
    EXPECT_EQ(button->left, 40);
    EXPECT_EQ(button->top, 60);
    EXPECT_EQ(button->halfSpacing, 20);
    EXPECT_EQ(button->fontId, 3);
    EXPECT_EQ(button->hoverColour, 200);
    EXPECT_EQ(button->normalColour, 15);
    EXPECT_EQ(button->caption, "Caption");
    ASSERT_EQ(button->entries.size(), 2u);
    EXPECT_EQ(button->entries[0].label, "Play");
    EXPECT_EQ(button->entries[0].command, "qm3");
    EXPECT_EQ(button->entries[0].failure, "PROGRAM did not start.");
    EXPECT_TRUE(button->entries[0].endsTour);
    EXPECT_EQ(button->entries[1].command, "");
    // The strings were taken over.
    EXPECT_EQ(record->GetString(record->GetItems()[0].offset), nullptr);
}

TEST_F(ButtonRecordTest, TheItemsAreThoseTheCompiledListHolds)
{
    const std::string header = R"("T" "W" "C" "B" 0 0 20 4 1 2 "Cap" "x" )";
    struct Case {
        std::string text;
        size_t entries;
    };
    const Case cases[] = {
        {header, 0},
        {header + R"("A" 0 "qm3" 0 "" 0 0)", 1},
        {header + R"("A" 0 "qm3" 0 "" 0 0 "B" 0 "*MENU 2" 0 "" 0 0)", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto record = Compile(kFormat, c.text);
        const std::optional<tour::ButtonRecord> button = tour::ReadButtonRecord(*record);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->entries.size(), c.entries);
    }
}

TEST_F(ButtonRecordTest, TheSampleMenuReadsAndEveryCommandParses)
{
    const std::filesystem::path data = qmtest::SourceDir() / "data" / "launcher";
    auto record = Compile(qmtest::ReadWholeFile(data / "Tourdata.Cus" / "BTN" / "000000.BTN"),
                          qmtest::ReadWholeFile(data / "Tourdata.Cus" / "BTN" / "001000.BTN"));
    const std::optional<tour::ButtonRecord> button = tour::ReadButtonRecord(*record);
    ASSERT_TRUE(button);
    using tour::LaunchKind;
    const std::pair<const char*, LaunchKind> want[] = {
        {"qm3.EXE", LaunchKind::Program}, // "qm3" alone is under 4 bytes: no command
        {"xdg-open TourData\\ReadMe.txt", LaunchKind::Program},
        {"*HTTP TourData\\Site.url", LaunchKind::Link},
        {"*MENU 1002", LaunchKind::Menu},
        {"*APPL[Quillmark Trails][1.0] trails", LaunchKind::Installed},
        {"", LaunchKind::None},
    };
    ASSERT_EQ(button->entries.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        EXPECT_EQ(button->entries[i].command, want[i].first);
        EXPECT_EQ(tour::ParseLaunchCommand(button->entries[i].command).kind, want[i].second) << i;
    }
    EXPECT_TRUE(button->entries.front().endsTour);
    EXPECT_TRUE(button->entries.back().endsTour);
    EXPECT_EQ(tour::ReadShortcutUrl(qmtest::ReadWholeFile(data / "Site.url")), "https://quillmark.example/");
}

TEST(ItemPlace, ItemsLieTwiceTheHalfSpacingApart)
{
    tour::ButtonRecord record;
    record.left = 40;
    record.top = 60;
    record.halfSpacing = 20;
    const tour::ItemPlace first = tour::PlaceItem(record, 0, 30);
    const tour::ItemPlace second = tour::PlaceItem(record, 1, 30);
    EXPECT_EQ(first.left, 40);
    EXPECT_EQ(first.right, 390);
    EXPECT_EQ(first.top, 60);
    EXPECT_EQ(first.bottom, 90);
    EXPECT_EQ(second.top, 100); // 40 apart, overlapping nothing
    EXPECT_EQ(tour::PlaceItem(record, 2, std::nullopt).bottom - tour::PlaceItem(record, 2, std::nullopt).top,
              20);
}

TEST_F(ButtonRecordTest, RefusesARecordOfAnotherShape)
{
    auto record = Compile("string long", R"("T" 4)");
    EXPECT_FALSE(tour::ReadButtonRecord(*record));
}

} // namespace
