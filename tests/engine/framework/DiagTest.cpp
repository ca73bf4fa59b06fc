#include <gtest/gtest.h>

#include <string>

#include "engine/framework/Appl.h"
#include "engine/framework/Diag.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/Str.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "tests/support/FatalReports.h"

namespace {

const std::vector<plat::MessageBoxRequest>& Boxes() { return plat::GetScriptedMessageBoxes().Log(); }

TEST(MsgBoxTest, StyleTableAndResults)
{
    CMsgBox box;
    EXPECT_EQ(GetMsgBox(), &box);
    struct Case {
        int16_t icon, buttons, defaultButton;
        plat::MbIcon wantIcon;
        plat::MbButtons wantButtons;
        int wantDefault;
    };
    const Case cases[] = {
        {0, 0, 1, plat::MbIcon::Error, plat::MbButtons::Ok, 0},
        {1, 1, 2, plat::MbIcon::Warning, plat::MbButtons::OkCancel, 1},
        {2, 1, 3, plat::MbIcon::Information, plat::MbButtons::OkCancel, 1}, // 3 becomes 2
        {3, 2, 2, plat::MbIcon::Question, plat::MbButtons::YesNo, 1},
        {4, 3, 3, plat::MbIcon::None, plat::MbButtons::YesNoCancel, 2},
        {-1, 7, 9, plat::MbIcon::None, plat::MbButtons::Ok, 0},
        {1, 0, 3, plat::MbIcon::Warning, plat::MbButtons::Ok, 0}, // no third button
    };
    for (const Case& c : cases) {
        plat::GetScriptedMessageBoxes().Clear();
        box.Show("text", "caption", c.icon, c.buttons, c.defaultButton);
        ASSERT_EQ(Boxes().size(), 1u);
        const plat::MessageBoxRequest& r = Boxes()[0];
        EXPECT_EQ(r.icon, c.wantIcon) << c.icon;
        EXPECT_EQ(r.buttons, c.wantButtons) << c.buttons;
        EXPECT_EQ(r.defaultButton, c.wantDefault) << c.defaultButton;
        EXPECT_TRUE(r.taskModal);
        EXPECT_EQ(r.owner, 0u);
        EXPECT_EQ(r.text, "text");
        EXPECT_EQ(r.caption, "caption");
    }

    auto& script = plat::GetScriptedMessageBoxes();
    const std::pair<plat::MbResult, int16_t> results[] = {
        {plat::MbResult::Ok, 0},      {plat::MbResult::Cancel, 1}, {plat::MbResult::Yes, 2},
        {plat::MbResult::No, 3},      {plat::MbResult::Abort, -1}, {plat::MbResult::Retry, -1},
        {plat::MbResult::Ignore, -1},
    };
    for (const auto& [answer, code] : results) {
        script.QueueAnswer(answer);
        EXPECT_EQ(box.Show("t", "c", 1, 3, 1), code);
    }
    box.SetOwnerWnd(77);
    box.Show(nullptr, nullptr, 1, 0, 1);
    EXPECT_EQ(Boxes().back().owner, 77u);
    EXPECT_EQ(Boxes().back().text, "");
}

TEST(MsgBoxTest, GlobalInstanceFollowsLifetime)
{
    {
        CMsgBox box;
        EXPECT_EQ(GetMsgBox(), &box);
    }
    EXPECT_EQ(GetMsgBox(), nullptr);
    // Without an instance a box is still shown, without an owner.
    EXPECT_EQ(ShowMessageBox("x", "y", 0, 0, 1), CMsgBox::kResultOk);
    EXPECT_EQ(Boxes().size(), 1u);
}

class WatchingAppl : public CBaseAppl {
public:
    void Resume() override {}
    void Pause() override {}
    bool HandleMessage(CMessage& m, CBaseObj*) override
    {
        seen.push_back(m.GetId());
        boxesWhenSeen = Boxes().size();
        return false;
    }
    std::vector<int32_t> seen;
    size_t boxesWhenSeen = 0;
};

using qmtest::FatalText;

TEST(DiagTest, LevelTable)
{
    CMsgBox box;
    WatchingAppl app;
    for (int16_t level : {1, 3, 5, -1})
        EXPECT_EQ(FatalText([&] { ReportError(level, "m", "f", 1); }), "(returned)") << level;
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(app.seen.empty());

    // Fatal: the box, then -48 to the application, then the end of the program.
    EXPECT_EQ(FatalText([] { ReportError(0, "abc", "x", 7); }), "Exiting application.");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Fatal Error: abc\r\rFile: x  Line: 7");
    EXPECT_EQ(Boxes()[0].caption, "Fatal Error");
    EXPECT_EQ(Boxes()[0].icon, plat::MbIcon::Error);
    EXPECT_EQ(Boxes()[0].buttons, plat::MbButtons::Ok);
    EXPECT_EQ(app.seen, (std::vector<int32_t>{-48}));
    EXPECT_EQ(app.boxesWhenSeen, 1u);

    EXPECT_EQ(FatalText([] { ReportError(2, "cond", "y.cpp", 12); }), "Exiting application.");
    EXPECT_EQ(Boxes().back().text, "Assert Failed: cond\r\rFile: y.cpp  Line: 12");
    EXPECT_EQ(Boxes().back().caption, "Assert Failed");

    // Level 4: with the debug switch off, the end without a box; with it on, a box and return.
    plat::GetScriptedMessageBoxes().Clear();
    EXPECT_EQ(FatalText([] { ReportError(4, "w", "z", 3); }), "Exiting application.");
    EXPECT_TRUE(Boxes().empty());
    SetDebugSwitch(true);
    EXPECT_EQ(FatalText([] { ReportError(4, "w", "z", 3); }), "(returned)");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Warning: w\r\rFile: z  Line: 3");
    EXPECT_EQ(Boxes()[0].caption, "Warning");
    EXPECT_EQ(Boxes()[0].icon, plat::MbIcon::Warning);
}

TEST(DiagTest, LevelsUnderBothProfiles)
{
    CMsgBox box;
    struct Case {
        int16_t level;
        const char* game;
        const char* launcher;
    };
    // The debug switch is on: the game's level 4 shows its box and returns; the launcher
    // knows no debug switch and drops the level like any other.
    const Case cases[] = {
        {0, "Fatal Error: m\r\rFile: f  Line: 1", "Fatal Error: m\r\rFile: f  Line: 1"},
        {1, "(returned)", "(returned)"},
        {2, "Assert Failed: m\r\rFile: f  Line: 1", "Assert Failed: m\r\rFile: f  Line: 1"},
        {3, "(returned)", "(returned)"},
        {4, "(returned) Warning: m\r\rFile: f  Line: 1", "(returned)"},
        {-1, "(returned)", "(returned)"},
    };
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        SetDebugSwitch(true);
        EXPECT_EQ(GetDebugSwitch(), !launcher);
        for (const Case& c : cases) {
            plat::GetScriptedMessageBoxes().Clear();
            std::string seen = qmtest::FatalBoxText([&] { ReportError(c.level, "m", "f", 1); }, "(returned)");
            if (seen == "(returned)" && !Boxes().empty())
                seen += " " + Boxes().back().text;
            EXPECT_EQ(seen, launcher ? c.launcher : c.game) << c.level << " launcher " << launcher;
        }
    }
}

TEST(DiagTest, LongBodiesKeepFileAndLine)
{
    const std::string longMessage(2000, 'm');
    const std::string body =
        FormatReportBody("Fatal Error", longMessage.c_str(), "src/file.cpp", 4294967295u);
    EXPECT_EQ(body.size(), 511u);
    EXPECT_EQ(body.substr(0, 14), "Fatal Error: m");
    EXPECT_EQ(body.substr(body.size() - 38), "\r\rFile: src/file.cpp  Line: 4294967295");

    const std::string longPath = std::string(1000, 'p') + "/end.cpp";
    const std::string both = FormatReportBody("Warning", longMessage.c_str(), longPath.c_str(), 1);
    EXPECT_EQ(both.size(), 511u);
    EXPECT_EQ(both.substr(both.size() - 17), "/end.cpp  Line: 1");

    EXPECT_EQ(FormatReportBody("INFO", nullptr, nullptr, 0), "INFO: \r\rFile:   Line: 0");
}

TEST(EngineStringsTest, TableSetByTests)
{
    EXPECT_EQ(GetEngineString(0), nullptr);
    SetEngineStrings({"zero", "one"});
    EXPECT_STREQ(GetEngineString(1), "one");
    EXPECT_EQ(GetEngineStringList()->GetEntryCount(), 2);
    EXPECT_EQ(GetEngineString(2), nullptr);
    EXPECT_EQ(GetEngineString(-1), nullptr);
}

} // namespace
