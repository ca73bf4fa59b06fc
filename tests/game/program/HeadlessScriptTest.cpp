#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/program/Qm3Program.h"
#include "platform/Input.h"
#include "platform/WindowMessages.h"
#include "platform/headless/HeadlessScript.h"
#include "platform/headless/ScriptRunner.h"
#include "tests/support/TestEnv.h"

namespace {

using Kind = ScriptLine::Kind;

std::string ErrorOf(const std::string& text)
{
    try {
        ParseScriptLine(text, "s.txt", 4);
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "(parsed)";
}

TEST(HeadlessScript, LinesParseIntoTheirSteps)
{
    struct Case {
        const char* text;
        Kind kind;
        int32_t x;
        int32_t y;
        std::string textValue;
    };
    for (const Case& c : std::vector<Case>{
             {"tick", Kind::Tick, 1, 0, ""},
             {"tick 25", Kind::Tick, 25, 0, ""},
             {"move 0 0", Kind::Move, 0, 0, ""},
             {"down 639 479", Kind::Down, 639, 479, ""},
             {"up 10\t20", Kind::Up, 10, 20, ""},
             {"click 5 6", Kind::Click, 5, 6, ""},
             {"press -420", Kind::Press, -420, 0, ""},
             {"command -26", Kind::Command, -26, 0, ""},
             {"type  two  blanks ", Kind::Type, 0, 0, " two  blanks "},
             {"type caf\xc3\xa9 \xe2\x80\x94", Kind::Type, 0, 0, "caf\xe9 \x97"},
             {"screenshot out dir/a b.png", Kind::Screenshot, 0, 0, "out dir/a b.png"},
             {"window 320 240", Kind::Window, 320, 240, ""},
             {"window 0 0", Kind::Window, 0, 0, ""},
             {"quit", Kind::Quit, 0, 0, ""},
         }) {
        const ScriptLine line = ParseScriptLine(c.text, "s.txt", 1);
        EXPECT_EQ(line.kind, c.kind) << c.text;
        EXPECT_EQ(line.x, c.x) << c.text;
        EXPECT_EQ(line.y, c.y) << c.text;
        EXPECT_EQ(line.text, c.textValue) << c.text;
    }
}

TEST(HeadlessScript, KeysAndAnswers)
{
    struct Case {
        const char* text;
        uint8_t key;
        uint8_t ch;
        bool shift, ctrl, alt;
    };
    for (const Case& c : std::vector<Case>{
             {"key a", 'A', 'a', false, false, false},
             {"key 7", '7', '7', false, false, false},
             {"key ?", 0, '?', false, false, false},
             {"key Enter", plat::key::Enter, 0, false, false, false},
             {"key Space", plat::key::Space, ' ', false, false, false},
             {"key F12", plat::key::F12, 0, false, false, false},
             {"key Shift+Ctrl+Left", plat::key::Left, 0, true, true, false},
             {"key Alt+F4", plat::key::F4, 0, false, false, true},
             {"key Ctrl+s", 'S', 's', false, true, false},
         }) {
        const ScriptLine line = ParseScriptLine(c.text, "s.txt", 1);
        EXPECT_EQ(line.kind, Kind::Key) << c.text;
        EXPECT_EQ(line.key.key, c.key) << c.text;
        EXPECT_EQ(line.key.ch, c.ch) << c.text;
        EXPECT_EQ(line.key.shift, c.shift) << c.text;
        EXPECT_EQ(line.key.ctrl, c.ctrl) << c.text;
        EXPECT_EQ(line.key.alt, c.alt) << c.text;
    }
    EXPECT_EQ(ParseScriptLine("answer no", "s", 1).answer, plat::MbResult::No);
    EXPECT_EQ(ParseScriptLine("answer cancel", "s", 1).answer, plat::MbResult::Cancel);
}

TEST(HeadlessScript, BadLinesNameTheFileAndLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c : std::vector<Case>{
             {"jump 3", "s.txt:4: unknown command \"jump\""},
             {"tick -1", "s.txt:4: bad tick count \"-1\""},
             {"tick 2 3", "s.txt:4: unexpected \"3\""},
             {"click 640 0", "s.txt:4: bad x \"640\""},
             {"click 1", "s.txt:4: bad y"},
             {"move 1 2x", "s.txt:4: bad y \"2x\""},
             {"press", "s.txt:4: bad object id"},
             {"key", "s.txt:4: key needs a key"},
             {"key F13", "s.txt:4: bad key \"F13\""},
             {"key Shift+", "s.txt:4: bad key \"Shift+\""},
             {"key ab", "s.txt:4: bad key \"ab\""},
             {"type \xe4\xb8\xad", "s.txt:4: text that Windows-1252 cannot hold"},
             {"type bad\xff", "s.txt:4: text that Windows-1252 cannot hold"},
             {"answer maybe", "s.txt:4: bad answer \"maybe\" (ok, cancel, yes or no)"},
             {"answer abort", "s.txt:4: bad answer \"abort\" (ok, cancel, yes or no)"},
             {"screenshot", "s.txt:4: screenshot needs a file"},
             {"window 320 0", "s.txt:4: window needs both sides, or 0 0"},
             {"window 4097 10", "s.txt:4: bad width \"4097\""},
             {"quit now", "s.txt:4: unexpected \"now\""},
         })
        EXPECT_EQ(ErrorOf(c.text), c.error) << c.text;
}

TEST(HeadlessScript, CommentsAndBlankLinesAreSkippedAndLinesKeepTheirNumbers)
{
    std::istringstream in("# a comment\n\n   \ttick 2\r\n  # another\nquit\n");
    const std::vector<ScriptLine> lines = ParseScript(in, "s.txt");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].line, 3);
    EXPECT_EQ(lines[0].x, 2);
    EXPECT_EQ(lines[1].line, 5);

    std::istringstream bad("tick\n\nwiggle\n");
    EXPECT_THROW(ParseScript(bad, "s.txt"), ScriptError);
}

TEST(HeadlessScript, MessageBoxLinesEscapeTheirTexts)
{
    plat::MessageBoxRequest box;
    box.caption = "Say \"hi\"";
    box.text = "a\\b\r\nc\td\x01\x7f\xe9";
    EXPECT_EQ(MessageBoxLine(box, plat::MbResult::Retry),
              "msgbox \"Say \\\"hi\\\"\" \"a\\\\b\\r\\nc\\td\\x01\\x7F\\xE9\" retry");
}

TEST(Qm3CommandLine, OptionsAndSavedGames)
{
    const Qm3Options o = ParseQm3Options({"--headless", "trip1.qm3", "--seed", "42", "--script", "-", "-"});
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.script, "-");
    EXPECT_EQ(o.savedGames, (std::vector<std::string>{"trip1.qm3", "-"}));
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--seed"}, {"--seed", "-1"}, {"--seed", "99999999999"}, {"--script"}, {"-x"}, {"--full"}})
        EXPECT_THROW(ParseQm3Options(bad), UsageError) << bad[0];
}

// A runner over recording stand-ins of the program.
class ScriptRunnerTest : public ::testing::Test {
protected:
    std::unique_ptr<ScriptRunner> Runner(const std::string& text)
    {
        std::istringstream in(text);
        ScriptTarget target;
        target.gameWindow = [] { return plat::WindowHandle{0}; };
        target.command = [this](int32_t n) { commands.push_back(n); };
        target.findObject = [](int32_t id) -> std::optional<plat::Point> {
            if (id == 5)
                return plat::Point{50, 60};
            return std::nullopt;
        };
        target.screenshot = [this](const std::string& file) {
            shots.push_back(file);
            return file != "/nowhere/x.png";
        };
        auto runner = std::make_unique<ScriptRunner>(ParseScript(in, "s.txt"), "s.txt", clock, target, out);
        plat::SetClock(&clock);
        queue.SetEventSource(
            [r = runner.get()](plat::MessageQueue& q, uint64_t deadline) { r->Pump(q, deadline); });
        return runner;
    }
    // What the pump does when it has nothing to do until the deadline.
    void Wait(uint64_t deadline) { queue.WaitUntil(deadline); }
    void TearDown() override { plat::SetClock(&qmtest::Clock()); }

    ScriptClock clock{1000};
    std::vector<int32_t> commands;
    std::vector<std::string> shots;
    std::ostringstream out;
    plat::MessageQueue queue;
};

TEST_F(ScriptRunnerTest, TicksMoveTheClockNoFurtherThanEachWaitAndWaitsHoldStill)
{
    auto runner = Runner("tick 3\ncommand 9\n");
    Wait(1010); // 51 ms asked, 10 allowed
    EXPECT_EQ(clock.NowMs(), 1010u);
    Wait(1100);
    EXPECT_EQ(clock.NowMs(), 1051u); // the rest of the tick, and no further
    EXPECT_TRUE(commands.empty());
    Wait(1100);
    EXPECT_EQ(commands, (std::vector<int32_t>{9}));
    EXPECT_EQ(clock.NowMs(), 1051u);
    Wait(1100); // the end of the script quits, once
    Wait(1100);
    EXPECT_EQ(commands, (std::vector<int32_t>{9, 252}));
    EXPECT_EQ(clock.NowMs(), 1100u); // after that, time runs on as the program waits
}

TEST_F(ScriptRunnerTest, AnswersScreenshotsAndAMissingObject)
{
    auto runner = Runner("answer yes\nscreenshot a.png\npress 5\npress 6\ntick\n");
    Wait(2000); // answer and screenshot run on; the press gives the program work
    EXPECT_EQ(shots, (std::vector<std::string>{"a.png"}));
    EXPECT_FALSE(runner->GetError());
    plat::MessageBoxRequest box;
    box.caption = "C";
    box.text = "T";
    box.buttons = plat::MbButtons::YesNo;
    EXPECT_EQ(runner->Show(box), plat::MbResult::Yes);
    box.buttons = plat::MbButtons::OkCancel; // no "yes" there: the default button
    box.defaultButton = 1;
    EXPECT_EQ(runner->Show(box), plat::MbResult::Cancel);
    EXPECT_EQ(out.str(), "msgbox \"C\" \"T\" yes\nmsgbox \"C\" \"T\" cancel\n");

    queue.Clear();
    Wait(2000);
    EXPECT_EQ(runner->GetError(), "s.txt:4: no object 6");
    EXPECT_EQ(commands, (std::vector<int32_t>{252}));
    EXPECT_TRUE(runner->Finished());
}

TEST_F(ScriptRunnerTest, AScreenshotThatCannotBeWrittenStopsTheScript)
{
    auto runner = Runner("screenshot /nowhere/x.png\ncommand 4\n");
    Wait(2000);
    EXPECT_EQ(runner->GetError(), "s.txt:1: cannot write the screenshot /nowhere/x.png");
    EXPECT_EQ(commands, (std::vector<int32_t>{252}));
}

TEST_F(ScriptRunnerTest, AKeysModifiersStayDownUntilItsMessagesHaveBeenHandled)
{
    // The program handles the key's messages between the lines: Ctrl+End must still find Ctrl
    // down then, as a person's press would.
    auto runner = Runner("key Ctrl+End\ncommand 7\n");
    Wait(2000);
    EXPECT_TRUE(plat::IsKeyDown(plat::key::Control));
    EXPECT_FALSE(plat::IsKeyDown(plat::key::End));
    EXPECT_TRUE(commands.empty());
    queue.Clear();
    Wait(2000);
    EXPECT_FALSE(plat::IsKeyDown(plat::key::Control)) << "let go before the next line";
    EXPECT_EQ(commands, (std::vector<int32_t>{7}));
}

} // namespace
