// The drawn message box, file and print dialogs, driven by input queued for their loops.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/widgets/DrawnDialogs.h"
#include "tests/platform/widgets/WidgetTestKit.h"
#include "tests/support/TestEnv.h"

using namespace plat;
using widgettest::MatchesGolden;

namespace {

class DrawnDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        widgettest::UseTestFont();
        owner_ = wintest::MakeTopLevel("Owner", {100, 60, 700, 520}, style::Visible);
        ActivateWindow(owner_);
        wintest::PumpAll();
        InstallDrawnDialogs();
    }

    // The control of a class showing a text in the active dialog.
    static WindowHandle Control(const char* className, const std::string& text)
    {
        for (WindowHandle h : GetChildren(GetActiveWindow())) {
            if (NamesEqualNoCase(GetClassName(h), className) && GetWidgetText(h) == text)
                return h;
        }
        ADD_FAILURE() << "no " << className << " \"" << text << "\" in " << GetTitle(GetActiveWindow());
        return 0;
    }
    static WindowHandle ControlOf(const char* className, int nth = 0)
    {
        for (WindowHandle h : GetChildren(GetActiveWindow())) {
            if (NamesEqualNoCase(GetClassName(h), className) && nth-- == 0)
                return h;
        }
        return 0;
    }
    static void QueueClick(const char* className, const std::string& text)
    {
        QueueDialogInput([className, text] {
            const WindowHandle h = Control(className, text);
            const Rect r = GetClientRect(h);
            Click(ClientToScreen(h, {r.Width() / 2, r.Height() / 2}));
        });
    }
    static void QueueKey(uint8_t k)
    {
        QueueDialogInput([k] { PressKey(k); });
    }
    static void QueueType(const std::string& text)
    {
        QueueDialogInput([text] { TypeText(text); });
    }
    static void QueueCheck(std::function<void()> check) { QueueDialogInput(std::move(check)); }

    MbResult Box(MbButtons buttons, int defaultButton, const std::string& text = "AB iy")
    {
        MessageBoxRequest request{text, "Bi", MbIcon::Question, buttons, defaultButton};
        request.owner = owner_;
        return GetMessageBoxService().Show(request);
    }

    wintest::Recorder recorder_;
    WindowHandle owner_ = 0;
};

TEST_F(DrawnDialogTest, MessageBoxButtonsAnswerByKeyAndClick)
{
    struct Case {
        MbButtons buttons;
        int defaultButton;
        std::function<void()> input;
        MbResult answer;
    };
    const Case cases[] = {
        {MbButtons::OkCancel, 0, [] { QueueKey(key::Enter); }, MbResult::Ok},
        {MbButtons::OkCancel, 0, [] { QueueKey(key::Escape); }, MbResult::Cancel},
        {MbButtons::OkCancel, 0, [] { QueueClick(widgetclass::Button, "Cancel"); }, MbResult::Cancel},
        {MbButtons::YesNoCancel, 1, [] { QueueKey(key::Enter); }, MbResult::No},
        {MbButtons::YesNoCancel, 1, [] { QueueClick(widgetclass::Button, "Yes"); }, MbResult::Yes},
        {MbButtons::Ok, 0, [] { QueueKey(key::Escape); }, MbResult::Ok},
        // Esc does nothing without a cancel button; running out of input answers the default.
        {MbButtons::YesNo, 1, [] { QueueKey(key::Escape); }, MbResult::No},
        // Tab moves the focus on, and Enter presses the focused button.
        {MbButtons::AbortRetryIgnore, 0,
         [] {
             QueueKey(key::Tab);
             QueueKey(key::Enter);
         },
         MbResult::Retry},
        {MbButtons::RetryCancel, 0, [] { QueueClick(widgetclass::Button, "Retry"); }, MbResult::Retry},
    };
    for (const Case& c : cases) {
        c.input();
        EXPECT_EQ(Box(c.buttons, c.defaultButton), c.answer) << static_cast<int>(c.buttons);
        EXPECT_FALSE(HasDialogInput());
    }
}

TEST_F(DrawnDialogTest, AMessageBoxIsModalOverItsOwnerAndCentredOnIt)
{
    bool ownerDisabled = false;
    Rect box;
    QueueCheck([&] {
        ownerDisabled = !IsEnabled(owner_);
        box = GetWindowRect(GetActiveWindow());
        EXPECT_EQ(GetOwner(GetActiveWindow()), owner_);
        EXPECT_TRUE(MatchesGolden("messagebox", box));
    });
    QueueKey(key::Enter);
    const std::string text =
        "AB iy AB iy AB iy AB iy AB iy AB iy AB iy AB iy AB iy AB iy AB iy AB iy AB iy AB iy "
        "AB iy AB iy AB iy AB iy\nBi\n\nyA";
    EXPECT_EQ(Box(MbButtons::YesNo, 0, text), MbResult::Yes);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsEnabled(owner_));
    EXPECT_EQ(GetActiveWindow(), owner_);
    const Rect o = GetWindowRect(owner_);
    EXPECT_LE(std::abs((box.left + box.right) - (o.left + o.right)), 1);
    EXPECT_LE(std::abs((box.top + box.bottom) - (o.top + o.bottom)), 1);
    EXPECT_LE(box.Width(), 400 + 100) << "long text wraps";
}

TEST_F(DrawnDialogTest, WithNothingToShowTheBoxGoesToStandardErrorAndTheDefaultAnswers)
{
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Box(MbButtons::YesNoCancel, 2, "gone"), MbResult::Cancel);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Bi: gone\n");
}

class FileDialogTest : public DrawnDialogTest {
protected:
    void SetUp() override
    {
        DrawnDialogTest::SetUp();
        const auto root = qmtest::TempDir() / "files";
        std::filesystem::create_directories(root / "SUB");
        for (const char* name : {"AB.SAV", "BI.SAV", "YY.TXT", "SUB/IN.SAV"})
            std::ofstream(root / name) << "x";
        // D: holds one folder of its own; the temporary folder itself also holds the settings
        // folder, where window markers keep their locks.
        const auto disc = qmtest::TempDir() / "disc";
        std::filesystem::create_directories(disc / "files");
        SetDrives({{'C', root}, {'D', disc}});
    }

    std::optional<std::string> Choose(FileDialogKind kind, bool confirm = false)
    {
        FileDialogRequest request;
        request.kind = kind;
        request.owner = owner_;
        request.initialFolder = "C:\\";
        request.filters = {{"Bi (*.SAV)", "*.SAV"}, {"All", "*.*"}};
        request.defaultExtension = "SAV";
        request.fileMustExist = kind == FileDialogKind::Open;
        request.folderMustExist = kind == FileDialogKind::Save;
        request.confirmOverwrite = confirm;
        return GetDialogService().ChooseFile(request);
    }

    static std::vector<std::string> ListedNames()
    {
        std::vector<std::string> names;
        const WindowHandle list = ControlOf(widgetclass::ListBox);
        for (int32_t i = 0; i < GetListCount(list); ++i)
            names.push_back(GetListString(list, i));
        return names;
    }
};

TEST_F(FileDialogTest, OpenListsFoldersThenMatchingFilesAndTakesATypedName)
{
    std::vector<std::string> first, inSub, allTypes;
    QueueCheck([&] {
        first = ListedNames();
        EXPECT_TRUE(MatchesGolden("open-dialog", GetWindowRect(GetActiveWindow())));
    });
    QueueCheck([&] {
        const WindowHandle types = ControlOf(widgetclass::ComboBox);
        SetFocus(types);
        PressKey(key::Down);
    });
    QueueCheck([&] { allTypes = ListedNames(); });
    QueueCheck([&] {
        // A double click on the folder opens it.
        const WindowHandle list = ControlOf(widgetclass::ListBox);
        const Point p = ClientToScreen(list, {10, 3});
        Click(p);
        Click(p);
    });
    QueueCheck([&] { inSub = ListedNames(); });
    QueueCheck([] { SetFocus(ControlOf(widgetclass::Edit)); });
    QueueType("in");
    QueueKey(key::Enter);
    EXPECT_EQ(Choose(FileDialogKind::Open), "C:\\SUB\\in.SAV");
    EXPECT_EQ(first, (std::vector<std::string>{"[SUB]", "AB.SAV", "BI.SAV"}));
    EXPECT_EQ(allTypes, (std::vector<std::string>{"[SUB]", "AB.SAV", "BI.SAV", "YY.TXT"}));
    EXPECT_EQ(inSub, (std::vector<std::string>{"[..]", "IN.SAV"}));
}

TEST_F(FileDialogTest, OpenRefusesAMissingFileAndEveryCancelAnswersNothing)
{
    bool reported = false;
    QueueType("nothere");
    QueueKey(key::Enter);
    QueueCheck(
        [&] { reported = GetTitle(GetActiveWindow()) == "Open" && ControlOf(widgetclass::Edit) == 0; });
    QueueKey(key::Enter); // dismisses the report
    QueueKey(key::Escape);
    EXPECT_EQ(Choose(FileDialogKind::Open), std::nullopt);
    EXPECT_TRUE(reported);

    QueueClick(widgetclass::Button, "Cancel");
    EXPECT_EQ(Choose(FileDialogKind::Open), std::nullopt);
    EXPECT_EQ(Choose(FileDialogKind::Save), std::nullopt) << "running out of input cancels";
}

TEST_F(FileDialogTest, SaveAddsTheExtensionAndAsksBeforeReplacing)
{
    QueueType("yA");
    QueueKey(key::Enter);
    EXPECT_EQ(Choose(FileDialogKind::Save, true), "C:\\yA.SAV");

    // "ab" names an existing file: No (the default) keeps the dialog, Yes replaces.
    QueueType("ab");
    QueueKey(key::Enter);
    QueueKey(key::Enter);
    QueueKey(key::Enter);
    QueueClick(widgetclass::Button, "Yes");
    EXPECT_EQ(Choose(FileDialogKind::Save, true), "C:\\ab.SAV");

    // A folder that does not exist is refused.
    QueueType("NONE\\ab");
    QueueKey(key::Enter);
    QueueKey(key::Enter);
    QueueKey(key::Escape);
    EXPECT_EQ(Choose(FileDialogKind::Save), std::nullopt);
}

TEST_F(FileDialogTest, TheDrivesListChangesTheFolder)
{
    std::vector<std::string> onD;
    QueueCheck([] {
        const WindowHandle drives = ControlOf(widgetclass::ComboBox, 1);
        SetFocus(drives);
        PressKey(key::Down);
    });
    QueueCheck([&] { onD = ListedNames(); });
    QueueKey(key::Escape);
    EXPECT_EQ(Choose(FileDialogKind::Open), std::nullopt);
    EXPECT_EQ(onD, (std::vector<std::string>{"[files]"}));
}

class PrintDialogTest : public DrawnDialogTest {
protected:
    // The folder changes from run to run: the picture shows a fixed one in its place.
    static ::testing::AssertionResult PrintDialogMatches(const std::string& golden)
    {
        const WindowHandle folder = ControlOf(widgetclass::Edit);
        const std::string kept = GetWidgetText(folder);
        SetWidgetText(folder, "AB iy");
        ::testing::AssertionResult same = MatchesGolden(golden, GetWindowRect(GetActiveWindow()));
        SetWidgetText(folder, kept);
        return same;
    }

    std::optional<PrintSetupResult> Ask(PrintDialogKind kind)
    {
        PrintSetupRequest request;
        request.kind = kind;
        request.owner = owner_;
        request.fromPage = 1;
        request.toPage = 3;
        request.pageNumbers = false;
        PrintSetupResult choice;
        choice.folder = qmtest::TempDir() / "prints";
        choice.caps.dpiX = choice.caps.dpiY = 100;
        request.choice = choice;
        return kind == PrintDialogKind::Print ? GetDialogService().Print(request)
                                              : GetDialogService().PrintSetup(request);
    }
};

TEST_F(PrintDialogTest, SetUpConfirmsTheFolderOfTheChoiceOrOneThatCanBeMade)
{
    std::optional<PrintSetupResult> kept;
    QueueCheck([] { EXPECT_TRUE(PrintDialogMatches("print-setup")); });
    QueueKey(key::Enter);
    kept = Ask(PrintDialogKind::Setup);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->folder, qmtest::TempDir() / "prints");
    EXPECT_EQ(kept->caps.dpiX, 100);
    EXPECT_EQ(kept->toPage, 3);

    const auto fresh = qmtest::TempDir() / "new" / "pages";
    QueueCheck([&] { SetWidgetText(ControlOf(widgetclass::Edit), fresh.string()); });
    QueueClick(widgetclass::Button, "OK");
    const auto made = Ask(PrintDialogKind::Setup);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->folder, fresh);

    // A folder under a file can never be made: reported, and the dialog stays.
    std::ofstream(qmtest::TempDir() / "file") << "x";
    bool reported = false;
    QueueCheck(
        [&] { SetWidgetText(ControlOf(widgetclass::Edit), (qmtest::TempDir() / "file" / "x").string()); });
    QueueKey(key::Enter);
    QueueCheck([&] { reported = ControlOf(widgetclass::Edit) == 0; });
    QueueKey(key::Enter);
    QueueKey(key::Escape);
    EXPECT_EQ(Ask(PrintDialogKind::Setup), std::nullopt);
    EXPECT_TRUE(reported);
}

TEST_F(PrintDialogTest, ThePrintDialogShowsItsPageRangeDisabled)
{
    bool pagesDisabled = false;
    QueueCheck([&] {
        pagesDisabled = !IsEnabled(Control(widgetclass::Button, "Pages")) &&
                        IsEnabled(Control(widgetclass::Button, "All"));
        EXPECT_TRUE(GetButtonCheck(Control(widgetclass::Button, "All")));
        EXPECT_TRUE(PrintDialogMatches("print"));
    });
    QueueKey(key::Enter);
    const auto answer = Ask(PrintDialogKind::Print);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->fromPage, 1);
    EXPECT_EQ(answer->toPage, 3);
    EXPECT_TRUE(pagesDisabled);
    QueueClick(widgetclass::Button, "Cancel");
    EXPECT_EQ(Ask(PrintDialogKind::Print), std::nullopt);
}

} // namespace
