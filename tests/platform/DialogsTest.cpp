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

TEST(Dialogs, AnotherServiceCanBeInstalledAndResetRestoresTheScript)
{
    struct Always : plat::DialogService {
        std::optional<std::string> ChooseFile(const plat::FileDialogRequest&) override { return "C:\\x"; }
        std::optional<plat::PrintSetupResult> PrintSetup(const plat::PrintSetupRequest&) override
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
