// The landmark character's template (kind 0x3b) read from definition text through the real
// parser: the command language, the choices it makes while it is read, the record it fills
// and the message boxes of its errors.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "game/landmarks/LmCharDataRecord.h"
#include "game/landmarks/LmCharFrm.h"
#include "game/landmarks/TLmCharFrm.h"
#include "tests/game/landmarks/LandmarkWorld.h"

namespace {

using lmtest::Box;
using lmtest::Warning;
using Draw = std::array<int32_t, 3>;

std::string Template(const std::string& commands, const std::string& name = "\"grain.smk\"", int marker = 100)
{
    return lmtest::CharacterText(commands, name, marker);
}

std::unique_ptr<CTLmCharFrm> Read(const std::string& text) { return lmtest::ReadCharacter(text); }

Box Error(const std::string& message, const std::string& caption)
{
    return lmtest::CharacterError(message, caption);
}

std::vector<std::pair<int32_t, int32_t>> StopList(const CLmCharDataRecord& r)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int16_t i = 0; i < r.GetStopCount(); ++i)
        out.emplace_back(r.GetStopAction(i), r.GetStopValue(i));
    return out;
}

std::vector<std::pair<int32_t, int32_t>> ContinueList(const CLmCharDataRecord& r)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int16_t i = 0; i < r.GetContinueCount(); ++i)
        out.emplace_back(r.GetContinueAction(i), r.GetContinueValue(i));
    return out;
}

using Entries = std::vector<std::pair<int32_t, int32_t>>;

class CharacterTemplate : public ::testing::Test {
protected:
    lmtest::LandmarkWorld world;
};

TEST_F(CharacterTemplate, ANewRecordPlaysAtOnceAndHoldsNothingElse)
{
    const CLmCharDataRecord record;
    EXPECT_TRUE(record.GetAutoPlay());
    EXPECT_EQ(record.GetFileId(), 0);
    EXPECT_EQ(record.GetClickMode(), 0);
    EXPECT_EQ(record.GetFileMode(), CLmCharDataRecord::kFileFixed);
    EXPECT_EQ(record.GetStopCount(), 0);
    EXPECT_EQ(record.GetStopAction(0), -1);
    EXPECT_EQ(record.GetContinueValue(0), -1);
    EXPECT_EQ(record.GetCaption(), nullptr);
    EXPECT_EQ(record.GetStoredMessage(), nullptr);
    EXPECT_STREQ(record.GetFileName(), "");
}

TEST_F(CharacterTemplate, CommandsFillTheRecord)
{
    const auto tpl =
        Read(Template("0, 210250, -1, 10, 1, 11, 1, 102, 0, 103, 3, 16, \"The ferry runs at dawn.\", "
                      "17, 1028, 18, 77, 19, 10137, 101"));
    const CLmCharDataRecord& r = *tpl->GetDataRecord();
    EXPECT_EQ(r.GetTemplateId(), 1) << "the list's resource id";
    EXPECT_STREQ(r.GetFileName(), "grain.smk");
    EXPECT_EQ(r.GetFileId(), 210250);
    EXPECT_EQ(r.GetLibMask(), 0xFFFFFFFFu);
    EXPECT_EQ(r.GetFileMode(), CLmCharDataRecord::kFileFixed);
    EXPECT_TRUE(r.GetLoop());
    EXPECT_EQ(r.GetFlags(), 0x80u);
    EXPECT_FALSE(r.GetAutoPlay());
    EXPECT_EQ(r.GetClickMode(), 3);
    ASSERT_NE(r.GetCaption(), nullptr);
    EXPECT_STREQ(r.GetCaption()->GetText(), "The ferry runs at dawn.");
    EXPECT_EQ(r.GetPopupResId(), 1028);
    EXPECT_EQ(r.GetTradeResId(), 77);
    EXPECT_EQ(r.GetPickMeResId(), 10137);
    EXPECT_TRUE(world.Boxes().empty());

    // The factory makes the character at the template's place with a record of its own.
    std::unique_ptr<CBaseObj> made(CTLmCharFrm::Create(tpl.get()));
    auto* character = dynamic_cast<CLmCharFrm*>(made.get());
    ASSERT_NE(character, nullptr);
    EXPECT_EQ(character->GetKind(), CLmCharFrm::kKind);
    EXPECT_EQ(character->GetId(), 500);
    EXPECT_EQ(character->GetBounds().TopLeft(), CPoint(30, 40));
    EXPECT_TRUE(character->TakesInput());
    ASSERT_NE(character->GetDataRecord(), nullptr);
    EXPECT_NE(character->GetDataRecord(), tpl->GetDataRecord());
    EXPECT_STREQ(character->GetDataRecord()->GetCaption()->GetText(), "The ferry runs at dawn.");
}

TEST_F(CharacterTemplate, EdgeCasesOfTheCommandLanguage)
{
    struct Case {
        const char* what;
        std::string text;
        int16_t morale;
        std::vector<Draw> draws;
        std::function<void(const CLmCharDataRecord&)> check;
        std::vector<Box> boxes;
    };
    const auto fileId = [](int32_t id) {
        return [id](const CLmCharDataRecord& r) { EXPECT_EQ(r.GetFileId(), id); };
    };
    const auto stops = [](Entries e) {
        return [e](const CLmCharDataRecord& r) { EXPECT_EQ(StopList(r), e); };
    };
    const auto continues = [](Entries e) {
        return [e](const CLmCharDataRecord& r) { EXPECT_EQ(ContinueList(r), e); };
    };
    const Box invalidStop = Error("Invalid action selected.", "CLmCharDataRecord::AddOnStopAction");
    const Box noChoice = Error("All templates for Random choice are <= 0", "CTLmCharFrm::ProcessOnStop");
    const Case cases[] = {
        {"VARIABLE params 99: no commands",
         Template("0, 210250, -1, 101", "\"grain.smk\"", 99),
         90,
         {},
         fileId(0),
         {Error("Template missing required VARPARAM_START after fixed parameters in:",
                "CTLmCharFrm::CTLmCharFrm")}},
        {"code 7 is no command: reading stops",
         Template("7, 0, 210250, -1, 101"),
         90,
         {},
         fileId(0),
         {Error("Template unknown cmd in  VARPARAM_START section", "CTLmCharFrm::ProcessVarParams.")}},
        {"code 15 is no command",
         Template("15, 0, 210250, -1, 101"),
         90,
         {},
         fileId(0),
         {Error("Template unknown cmd in  VARPARAM_START section", "CTLmCharFrm::ProcessVarParams.")}},
        {"codes 3, 5, 6, 8, 9 and 14 pass",
         Template("3, 5, 6, 8, 9, 14, 0, 210250, -1, 101"),
         90,
         {},
         fileId(210250),
         {}},
        {"CLICKMODE 5 stops the reading",
         Template("103, 5, 0, 210250, -1, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(r.GetClickMode(), 0);
             EXPECT_EQ(r.GetFileId(), 0);
         },
         {Error("Template unknown ClickMode in  CLICKMODE section", "CTLmCharFrm::ProcessClickMode")}},
        {"CLICKMODE 4",
         Template("103, 4, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) { EXPECT_EQ(r.GetClickMode(), 4); },
         {}},
        {"ONSTOP 10 reads no value",
         Template("12, 10, 102, 0, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(StopList(r), (Entries{{10, 0}}));
             EXPECT_FALSE(r.GetAutoPlay());
         },
         {}},
        {"ONCONTINUE 10 reads one",
         Template("13, 10, 77, 102, 0, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(ContinueList(r), (Entries{{10, 77}}));
             EXPECT_FALSE(r.GetAutoPlay());
         },
         {}},
        {"ONSTOP 12 with 0, 0, 7, 0, 0 draws until it finds 7",
         Template("12, 12, 0, 0, 7, 0, 0, 101"),
         90,
         {{0, 4, 0}, {0, 4, 4}, {0, 4, 1}, {0, 4, 2}},
         stops({{12, 7}}),
         {}},
        {"ONSTOP 12 with nothing above 0 keeps its value",
         Template("12, 12, -3, 0, 0, 0, 0, 101"),
         90,
         {},
         stops({{12, -3}}),
         {noChoice}},
        {"ONSTOP 13 at morale 49 chooses between the first two",
         Template("12, 13, 15831, 15832, 20001, 20002, 20003, 20004, 20005, 101"),
         49,
         {{0, 1, 1}},
         stops({{13, 15832}}),
         {}},
        {"ONSTOP 13 at morale 50 chooses among the last five",
         Template("12, 13, 15831, 15832, 20001, 20002, 20003, 20004, 20005, 101"),
         50,
         {{0, 4, 3}},
         stops({{13, 20004}}),
         {}},
        {"ONSTOP 13 at morale 50 without a list above 0 keeps its value",
         Template("12, 13, 15831, 15832, 0, 0, 0, 0, 0, 101"),
         50,
         {},
         stops({{13, 15831}}),
         {noChoice}},
        {"ONSTOP 13 below 50 with both low lists at 0 still reads the five high ones",
         Template("12, 13, 0, -1, 20001, 20002, 20003, 20004, 20005, 11, 1, 101"),
         49,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(StopList(r), (Entries{{13, 0}}));
             EXPECT_EQ(r.GetFlags(), 0x80u) << "the command after it read in step";
         },
         {noChoice}},
        {"ONCONTINUE 12 and 13 choose alike",
         Template("13, 12, 0, 9, 0, 0, 0, 13, 13, 0, 40, 1, 2, 3, 4, 5, 101"),
         10,
         {{0, 4, 1}, {0, 1, 1}},
         continues({{12, 9}, {13, 40}}),
         {}},
        {"ONSTOP 3 is refused", Template("12, 3, 12, 5, 900, 101"), 90, {}, stops({{5, 900}}), {invalidStop}},
        {"ONCONTINUE 11 is refused",
         Template("13, 11, 4, 101"),
         90,
         {},
         continues({}),
         {Error("Invalid action selected.", "CLmCharDataRecord::AddOnContinueAction")}},
        {"a third ONSTOP is refused after its value, and reading goes on",
         Template("12, 5, 10, 12, 5, 11, 12, 5, 12, 11, 1, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(StopList(r), (Entries{{5, 10}, {5, 11}}));
             EXPECT_EQ(r.GetFlags(), 0x80u);
         },
         {invalidStop}},
        {"a third ONCONTINUE likewise",
         Template("13, 0, 1, 13, 0, 2, 13, 12, 3, 0, 0, 0, 0, 10, 1, 101"),
         90,
         {{0, 4, 0}},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(ContinueList(r), (Entries{{0, 1}, {0, 2}}));
             EXPECT_TRUE(r.GetLoop());
         },
         {Error("Invalid action selected.", "CLmCharDataRecord::AddOnContinueAction")}},
        {"FILENAME 0 reads no mask",
         Template("0, 0, 10, 1, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(r.GetFileId(), 0);
             EXPECT_TRUE(r.GetLoop());
         },
         {Error("Filename came back as zero", "CTLmCharFrm::ProcessFilename")}},
        {"FILENAME RANDOM",
         Template("1, 210300, 5, 3, 9, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(r.GetFileId(), 210300);
             EXPECT_EQ(r.GetLibMask(), 5u);
             EXPECT_EQ(r.GetLineCount(), 3);
             EXPECT_EQ(r.GetDataKey(), 9);
             EXPECT_EQ(r.GetFileMode(), CLmCharDataRecord::kFileRandom);
         },
         {}},
        {"FILENAME RANDOM 0 reads nothing more",
         Template("1, 0, 10, 1, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(r.GetFileMode(), CLmCharDataRecord::kFileRandom);
             EXPECT_TRUE(r.GetLoop());
         },
         {Error("Filename came back as zero", "CTLmCharFrm::ProcessFilenameRandom")}},
        {"FILENAME SEQ",
         Template("2, 210400, -1, 4, 2, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(r.GetFileId(), 210400);
             EXPECT_EQ(r.GetLineCount(), 4);
             EXPECT_EQ(r.GetFileMode(), CLmCharDataRecord::kFileSequence);
         },
         {}},
        {"FILENAME SEQ 0",
         Template("2, 0, 101"),
         90,
         {},
         fileId(0),
         {Error("Filename came back as zero", "CTLmCharFrm::ProcessFilenameSequence")}},
        {"IDLE ACTION",
         Template("10, 1, 4, 30, -40, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_EQ(r.GetPrePause(), 30);
             EXPECT_EQ(r.GetPostPause(), -40);
             EXPECT_FALSE(r.GetLoop());
             EXPECT_FALSE(r.GetAutoPlay());
             EXPECT_EQ(r.GetClickMode(), 4);
             EXPECT_EQ(r.GetFileMode(), CLmCharDataRecord::kFileIdle);
         },
         {}},
        {"LOOP and AUTOPLAY other than 1 are off",
         Template("10, 2, 102, 7, 11, 2, 101"),
         90,
         {},
         [](const CLmCharDataRecord& r) {
             EXPECT_FALSE(r.GetLoop());
             EXPECT_FALSE(r.GetAutoPlay());
             EXPECT_EQ(r.GetFlags(), 0u);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world.SetMorale(c.morale);
        world.Draws(c.draws);
        const auto tpl = Read(c.text);
        c.check(*tpl->GetDataRecord());
        EXPECT_EQ(world.DrawsLeft(), 0u);
        EXPECT_EQ(world.Boxes(), c.boxes);
    }
}

TEST_F(CharacterTemplate, ASecondStoredMessageReplacesTheFirst)
{
    const auto tpl = Read(Template("12, 15, 0, 300, 4, 5, 13, 15, 0, 307, 10101, -2, 101"));
    const CLmCharDataRecord& r = *tpl->GetDataRecord();
    EXPECT_EQ(StopList(r), (Entries{{15, 0}}));
    EXPECT_EQ(ContinueList(r), (Entries{{15, 0}}));
    const CMessage* stored = r.GetStoredMessage();
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->GetId(), 307);
    EXPECT_EQ(stored->GetParam(0), 10101);
    EXPECT_EQ(stored->GetParam(1), -2);
    EXPECT_EQ(stored->GetDelay(), -1);
}

TEST_F(CharacterTemplate, ErrorTextsAreCutAt255Characters)
{
    // The longest file name a template holds, read whole.
    const std::string longName(255, 'n');
    const auto tpl = Read(Template("0, 0, 101", "\"" + longName + "\""));
    EXPECT_EQ(std::string(tpl->GetDataRecord()->GetFileName()), longName);
    const std::vector<Box> boxes = world.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Filename came back as zero\n" + longName.substr(0, 255 - 27));
    EXPECT_EQ(boxes[0].caption, "CTLmCharFrm::ProcessFilename");

    // A short message and name are shown whole; a record without a file name shows an empty
    // line; a missing text or caption shows the stop box.
    CLmCharDataRecord record;
    record.SetTemplateId(15831);
    CTLmCharFrm::ErrorMessage("Oops", "Where", &record);
    CTLmCharFrm::ErrorMessage(nullptr, "Where", &record);
    CTLmCharFrm::ErrorMessage("Oops", nullptr, &record);
    const Box stop{"Error Message was NULL\n", "CTLmCharFrm::ErrorMessage", plat::MbIcon::Error};
    EXPECT_EQ(world.Boxes(), (std::vector<Box>{Warning("Oops\n\nTemplate ID:15831\n", "Where"), stop, stop}));
}

TEST_F(CharacterTemplate, ATextEndingBeforeTheEndCommandStopsTheReading)
{
    const auto tpl = Read(Template("10, 1, 12, 5"));
    EXPECT_TRUE(tpl->GetDataRecord()->GetLoop());
    EXPECT_EQ(StopList(*tpl->GetDataRecord()), (Entries{{5, 0}}));
    EXPECT_EQ(world.Boxes(), (std::vector<Box>{Error("Template ends before its end command in:",
                                                     "CTLmCharFrm::CTLmCharFrm")}));
}

} // namespace
