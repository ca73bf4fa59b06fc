#include <gtest/gtest.h>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "tests/support/TestEnv.h"

namespace {

TEST(Dialogs, AddDefaultExtensionOnlyToNamesWithoutOne)
{
    struct Case {
        const char* name;
        const char* extension;
        const char* result;
    };
    const Case cases[] = {
        {"C:\\saves\\trip", "sav", "C:\\saves\\trip.sav"},
        {"C:\\saves\\trip.qm3", "sav", "C:\\saves\\trip.qm3"},
        {"C:\\save.d\\trip", "sav", "C:\\save.d\\trip.sav"},
        {"trip", "", "trip"},
        {"C:\\saves\\", "sav", "C:\\saves\\"},
        {"C:trip", "sav", "C:trip.sav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::AddDefaultExtension(c.name, c.extension), c.result) << c.name;
}

TEST(Dialogs, FileAnswersComeFromTheScriptInOrder)
{
    plat::ScriptedDialogs& dialogs = plat::GetScriptedDialogs();
    dialogs.QueueFile("C:\\a.sav");
    dialogs.QueueFileCancel();
    dialogs.QueueFile("b");
    dialogs.QueueFile("c");
    plat::FileDialogRequest request;
    request.initialFolder = "C:\\saves";
    request.defaultExtension = "sav";
    plat::DialogService& service = plat::GetDialogService();
    EXPECT_EQ(service.ChooseFile(request), "C:\\a.sav");
    EXPECT_EQ(service.ChooseFile(request), std::nullopt);
    EXPECT_EQ(service.ChooseFile(request), "C:\\saves\\b.sav");
    request.initialFolder.clear();
    EXPECT_EQ(service.ChooseFile(request), plat::GetCurrentFolder() + "c.sav");
    EXPECT_EQ(service.ChooseFile(request), std::nullopt); // nothing queued: cancel
    EXPECT_EQ(dialogs.FileLog().size(), 5u);
}

TEST(Dialogs, PrintSetupKeepsOrReplacesThePages)
{
    plat::ScriptedDialogs& dialogs = plat::GetScriptedDialogs();
    dialogs.QueuePrintSetup();
    dialogs.QueuePrintSetup(plat::PrintSetupResult{2, 3, 4});
    dialogs.QueuePrintCancel();
    plat::PrintSetupRequest request;
    request.owner = 9;
    request.toPage = 12;
    request.maxPage = 32767;
    const auto kept = plat::GetDialogService().PrintSetup(request);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->fromPage, 1);
    EXPECT_EQ(kept->toPage, 12);
    EXPECT_EQ(kept->copies, 1);
    const auto changed = plat::GetDialogService().PrintSetup(request);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->toPage, 3);
    EXPECT_EQ(changed->copies, 4);
    EXPECT_FALSE(plat::GetDialogService().PrintSetup(request).has_value());
    EXPECT_FALSE(plat::GetDialogService().PrintSetup(request).has_value());
    ASSERT_EQ(dialogs.PrintLog().size(), 4u);
    EXPECT_EQ(dialogs.PrintLog()[0].owner, 9u);
    EXPECT_EQ(dialogs.PrintLog()[0].maxPage, 32767);
}

TEST(Dialogs, PrintDialogKeepsThePagesAndThePrinterItStartedFrom)
{
    plat::ScriptedDialogs& dialogs = plat::GetScriptedDialogs();
    plat::PrintSetupResult small;
    small.folder = "/somewhere/pages";
    small.caps = plat::PrinterCaps{850, 1100, 100, 100, 12, 7, false};
    dialogs.QueuePrintSetup();
    dialogs.QueuePrintSetup();
    dialogs.QueuePrintCancel();
    plat::PrintSetupRequest request;
    request.kind = plat::PrintDialogKind::Print;
    request.toPage = 3;
    request.copies = 2;

    // Without a kept choice the dialog starts from the default printer.
    const auto fromDefault = plat::GetDialogService().Print(request);
    ASSERT_TRUE(fromDefault.has_value());
    EXPECT_EQ(fromDefault->toPage, 3);
    EXPECT_EQ(fromDefault->copies, 2);
    EXPECT_EQ(fromDefault->folder, plat::DefaultPrinterChoice().folder);
    EXPECT_EQ(fromDefault->caps, plat::PrinterCaps{});

    request.choice = small;
    const auto fromKept = plat::GetDialogService().Print(request);
    ASSERT_TRUE(fromKept.has_value());
    EXPECT_EQ(fromKept->fromPage, 1);
    EXPECT_EQ(fromKept->toPage, 3);
    EXPECT_EQ(fromKept->folder, small.folder);
    EXPECT_EQ(fromKept->caps, small.caps);
    EXPECT_FALSE(plat::GetDialogService().Print(request).has_value());

    // Print requests are logged with the set-up requests, in order.
    plat::PrintSetupRequest setup;
    EXPECT_FALSE(plat::GetDialogService().PrintSetup(setup).has_value());
    ASSERT_EQ(dialogs.PrintLog().size(), 4u);
    EXPECT_EQ(dialogs.PrintLog()[0].kind, plat::PrintDialogKind::Print);
    EXPECT_FALSE(dialogs.PrintLog()[0].choice.has_value());
    EXPECT_EQ(dialogs.PrintLog()[1].choice->caps, small.caps);
    EXPECT_EQ(dialogs.PrintLog()[3].kind, plat::PrintDialogKind::Setup);
}

TEST(Dialogs, TheDefaultPrinterWritesIntoTheUsersDataFolder)
{
    plat::SetDefaultPrinterChoice(std::nullopt);
    const auto restore = [](const char* name, const char* saved) {
        if (saved)
            setenv(name, saved, 1);
        else
            unsetenv(name);
    };
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string dataText = savedData ? savedData : "";
    const std::string homeText = savedHome ? savedHome : "";

    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(plat::DefaultPrinterChoice().folder, "/data/home/kvl/prints");
    setenv("XDG_DATA_HOME", "relative/ignored", 1);
    setenv("HOME", "/home/traveller", 1);
    EXPECT_EQ(plat::DefaultPrinterChoice().folder, "/home/traveller/.local/share/kvl/prints");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(plat::DefaultPrinterChoice().folder, "/home/traveller/.local/share/kvl/prints");
    EXPECT_EQ(plat::DefaultPrinterChoice().caps, (plat::PrinterCaps{2550, 3300, 300, 300, 0, 0, true}));

    restore("XDG_DATA_HOME", savedData ? dataText.c_str() : nullptr);
    restore("HOME", savedHome ? homeText.c_str() : nullptr);
}

TEST(Dialogs, AnotherServiceCanBeInstalledAndResetRestoresTheScript)
{
    struct Always : plat::DialogService {
        std::optional<std::string> ChooseFile(const plat::FileDialogRequest&) override { return "C:\\x"; }
        std::optional<plat::PrintSetupResult> PrintSetup(const plat::PrintSetupRequest&) override
        {
            return std::nullopt;
        }
        std::optional<plat::PrintSetupResult> Print(const plat::PrintSetupRequest&) override
        {
            return std::nullopt;
        }
    } always;
    plat::SetDialogService(&always);
    EXPECT_EQ(plat::GetDialogService().ChooseFile({}), "C:\\x");
    plat::GetScriptedDialogs().QueueFile("C:\\y");
    plat::ResetDialogs();
    EXPECT_EQ(plat::GetDialogService().ChooseFile({}), std::nullopt);
    EXPECT_EQ(plat::GetScriptedDialogs().FileLog().size(), 1u);
}

} // namespace
