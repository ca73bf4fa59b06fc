#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/TextFrame.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/Registrar.h"
#include "game/base/CtrlBarFrm.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleBackFrm.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/Guidebook.h"
#include "game/shell/ModuleFactory.h"
#include "game/shell/StandInModules.h"
#include "game/shell/TemplateTypes.h"
#include "game/travel/Travel.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using Log = std::vector<std::string>;

// A module that writes down what the manager asks of it.
class RecordingModule : public CFrameModule {
public:
    RecordingModule(const CRect& rect, int32_t type, Log& log) : CFrameModule(rect), type_(type), log_(log) {}
    ~RecordingModule() override { Note("deleted"); }
    void Hide() override { Note("hide"); }
    void Suspend() override
    {
        Note("suspend");
        CFrameModule::Suspend();
    }
    void Resume() override
    {
        Note("resume");
        CFrameModule::Resume();
    }
    bool Query(int32_t) override
    {
        Note("query");
        return mayClose;
    }
    void OnAttach() override { Note("attach"); }
    // A click that asks to leave: message 101 to the game window, at once.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override
    {
        if (message.GetId() == 999 && GetMainWnd()) {
            SendMsg(*GetMainWnd(), CMainWnd::kMsgLeaveModule, 0, 0, this);
            Note("after leaving"); // still running, its frame freed later
            return true;
        }
        return CFrameModule::HandleMessage(message, sender);
    }

    bool mayClose = true;

private:
    void Note(const std::string& what) { log_.push_back(std::to_string(type_) + ":" + what); }
    int32_t type_;
    Log& log_;
};

class ModuleMgrTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The control bar's element lists: one plain frame each.
        qmtest::UseTempDirAsDriveC();
        qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Game.qmd");
        for (int32_t set : {50000, 51000, 52000, 55001, 55002, 57001})
            lib.Add("TPL", set, "1, 5001, 0, 0x9, 0, 0, 0, 0, 400, 0, 480, 640\n");
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
        registrar = std::make_unique<CRegistrar>();
        RegisterTemplateTypes();
        for (int32_t type = 0; type < CModuleMgr::kModuleCount; ++type)
            SetModuleConstructor(type, [this, type](const CRect& rect, CModuleMgr&) -> CModule* {
                auto* m = new RecordingModule(rect, type, log);
                modules[static_cast<size_t>(type)] = m;
                return m;
            });
        window = std::make_unique<CMainWnd>(10, CRect(0, 0, 480, 640));
        Game().mainWnd = window.get();
        window->CreateModuleMgr(); // the travel module first, without a message
        manager = GetModuleMgr();
    }
    void TearDown() override
    {
        window.reset();
        Game().mainWnd = nullptr;
        ResetDeferredDeletes();
    }
    RecordingModule* Module(int32_t type) { return modules[static_cast<size_t>(type)]; }

    std::unique_ptr<CRegistrar> registrar;
    Log log;
    std::array<RecordingModule*, CModuleMgr::kModuleCount> modules{};
    std::unique_ptr<CMainWnd> window;
    CModuleMgr* manager = nullptr;
};

TEST_F(ModuleMgrTest, StartsWithTheTravelModuleAndTheControlBar)
{
    EXPECT_EQ(manager->GetCurModule(), CModuleMgr::kTravel);
    EXPECT_EQ(log, (Log{"10:attach"}));
    ASSERT_NE(manager->GetCtrlBar(), nullptr);
    EXPECT_EQ(manager->GetCtrlBar()->GetGraphic()->GetParent(), window.get());
    EXPECT_EQ(manager->GetCtrlBar()->GetElementSet(), 50000);
    EXPECT_EQ(manager->GetMessageFrame(), nullptr);
    EXPECT_EQ(Module(10)->GetBounds(), CRect(0, 0, 480, 640));
}

TEST_F(ModuleMgrTest, SwitchesSuspendTheTravelModuleAndCloseOthers)
{
    log.clear();
    // Message 102 with the suspend flag: the travel module is suspended, module 0 built.
    SendMsg(*window, CMainWnd::kMsgRequestModule, 0, 1, nullptr);
    EXPECT_EQ(manager->GetCurModule(), 0);
    EXPECT_EQ(log, (Log{"10:suspend", "0:attach"}));
    EXPECT_EQ(Module(10)->GetState(), CModule::kStateSuspended);
    log.clear();

    // A request without the suspend flag closes module 0 for module 1, when it agrees...
    Module(0)->mayClose = false;
    SendMsg(*window, CMainWnd::kMsgRequestModule, 1, 0, nullptr);
    EXPECT_EQ(manager->GetCurModule(), 0);
    EXPECT_EQ(log, (Log{"0:query"}));
    EXPECT_TRUE(manager->Contains(1)); // the request stays pending
    Module(0)->mayClose = true;
    log.clear();
    // ...and a second request for a pending type is refused.
    EXPECT_FALSE(manager->Request(1));
    manager->SwitchClose();
    EXPECT_EQ(manager->GetCurModule(), 1);
    EXPECT_EQ(log, (Log{"0:query", "0:hide", "0:deleted", "1:attach"}));
    EXPECT_EQ(Module(1)->GetBounds(), CRect(0, 0, 440, 640));
    log.clear();

    // Message 147 is no screen message: nothing happens. A screen message (153: module 2)
    // suspends the current module, which comes back when module 2 closes.
    SendMsg(*window, 147, 0, 0, nullptr);
    EXPECT_TRUE(log.empty());
    SendMsg(*window, 153, 0, 0, nullptr);
    EXPECT_EQ(log, (Log{"1:suspend", "2:attach"}));
    log.clear();
    EXPECT_TRUE(manager->SwitchClose());
    EXPECT_EQ(log, (Log{"2:query", "2:hide", "2:deleted", "1:resume"}));
    log.clear();

    // Closing module 1 with nothing pending but the suspended travel module resumes it.
    EXPECT_TRUE(manager->SwitchClose());
    EXPECT_EQ(manager->GetCurModule(), CModuleMgr::kTravel);
    EXPECT_EQ(log, (Log{"1:query", "1:hide", "1:deleted", "10:resume"}));
    EXPECT_EQ(Module(10)->GetState(), CModule::kStateBuilt);
    // With an empty stack there is nothing to close for.
    EXPECT_FALSE(manager->SwitchClose());
}

TEST_F(ModuleMgrTest, TheFactoryGivesEachTypeItsRectangleAndBuildsOnce)
{
    EXPECT_EQ(ModuleRect(1), CRect(0, 0, 440, 640));
    for (int32_t type : {6, 7, 8})
        EXPECT_EQ(ModuleRect(type), CRect(0, 0, 400, 640)) << type;
    for (int32_t type : {0, 2, 3, 4, 5, 9, 10, 11})
        EXPECT_EQ(ModuleRect(type), CRect(0, 0, 480, 640)) << type;
    EXPECT_TRUE(manager->CreateModule(10)); // there already: nothing new
    EXPECT_EQ(log, (Log{"10:attach"}));
    EXPECT_FALSE(manager->CreateModule(12));
    EXPECT_FALSE(manager->CreateModule(-1));

    // The guidebook takes its values from the modules that exist when it is made.
    ResetModuleConstructors();
    SetModuleConstructor(6, [](const CRect& r, CModuleMgr&) { return new CPlainAnimModule(r); });
    // The gathering screen needs its data: a recording module holds its slot here.
    SetModuleConstructor(
        3, [this](const CRect& r, CModuleMgr&) -> CModule* { return new RecordingModule(r, 3, log); });
    manager->SetGuideTopic(17);
    ASSERT_TRUE(manager->CreateModule(3));
    ASSERT_TRUE(manager->CreateModule(4));
    auto* guide = dynamic_cast<CGuidebook*>(manager->GetModule(4));
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ((std::vector<int16_t>{guide->GetVariant(), guide->GetStartSection(), guide->GetStartPage()}),
              (std::vector<int16_t>{0, 4, 17}));
    manager->DestroyModule(4);
    ASSERT_TRUE(manager->CreateModule(6));
    ASSERT_TRUE(manager->CreateModule(4));
    guide = dynamic_cast<CGuidebook*>(manager->GetModule(4));
    EXPECT_EQ((std::vector<int16_t>{guide->GetVariant(), guide->GetStartSection(), guide->GetStartPage()}),
              (std::vector<int16_t>{0, 3, 0}));
}

TEST_F(ModuleMgrTest, LaterBuildsShowTheMessageOverTheGameWindow)
{
    std::string seen = "(none)";
    SetModuleConstructor(2, [&](const CRect& r, CModuleMgr& m) -> CModule* {
        // Shown while the module is built; there is no string list 2000 here.
        if (CModuleBackFrm* frame = m.GetMessageFrame(); frame && frame->GetText())
            seen = frame->GetText()->PeekText()->GetText();
        return new CPlainFrameModule(r);
    });
    manager->Request(2);
    manager->SwitchSuspend();
    EXPECT_EQ(seen, "Default string!");
    EXPECT_EQ(manager->GetMessageFrame(), nullptr);
}

// A travel module at a landmark, as the switch to the landmark module asks it.
class TravelAtLandmark : public RecordingModule, public CTravelLink {
public:
    using RecordingModule::RecordingModule;
    int32_t GetLandmarkId() const override { return landmark; }
    int32_t GetNodeLandmark() const override { return 0; }
    void StartOver(CBaseObj*) override {}
    int32_t landmark = 0;
};

TEST_F(ModuleMgrTest, EachSwitchShowsItsEntryOfTheLoadingMessages)
{
    qmtest::FolderLibraryWriter text(qmtest::TempDir() / "Text.qmd");
    text.Add("STR", CModuleMgr::kMessageList, "m0\nm1\nm2\nm3\nm4\nm5\nm6\nm7\n");
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(text.Folder()).c_str()));
    ASSERT_TRUE(manager->DestroyModule(CModuleMgr::kTravel));
    TravelAtLandmark* travel = nullptr;
    SetModuleConstructor(CModuleMgr::kTravel, [&](const CRect& rect, CModuleMgr&) -> CModule* {
        return travel = new TravelAtLandmark(rect, CModuleMgr::kTravel, log);
    });
    ASSERT_TRUE(manager->CreateModule(CModuleMgr::kTravel));
    manager->SetCurModule(CModuleMgr::kTravel);
    struct Case {
        int32_t type, landmark;
        const char* message; // "" for none
    };
    const Case cases[] = {
        {3, 0, "m6"},   {4, 0, "m2"},   {6, 0, "m3"}, {7, 0, "m4"}, {8, 0, "m5"}, {9, 10108, "m1"},
        {9, -52, "m7"}, {9, 10107, ""}, // any other landmark: no message, nor one for the build that follows
        {0, 0, ""},     {1, 0, ""},     {2, 0, ""},   {5, 0, ""},   {10, 0, ""},  {11, 0, ""},
    };
    for (const Case& c : cases) {
        travel->landmark = c.landmark;
        log.clear();
        manager->PrepareSwitch(c.type);
        const CModuleBackFrm* frame = manager->GetMessageFrame();
        const std::string shown = frame && frame->GetText() ? frame->GetText()->PeekText()->GetText() : "";
        EXPECT_EQ(shown, c.message) << c.type << " at " << c.landmark;
        // The travel module waits behind a message of its own screen's switches.
        EXPECT_EQ(log, *c.message && c.type != 9 ? Log{"10:suspend"} : Log{}) << c.type;
        manager->HideMessage();
        travel->Resume();
    }

    // After a landmark without a message the next build shows none; the one after shows the
    // building message, entry 0.
    std::vector<std::string> seen;
    for (int32_t type : {9, 2})
        SetModuleConstructor(type, [&](const CRect& r, CModuleMgr& m) -> CModule* {
            const CModuleBackFrm* frame = m.GetMessageFrame();
            seen.push_back(frame && frame->GetText() ? frame->GetText()->PeekText()->GetText() : "");
            return new CPlainFrameModule(r);
        });
    travel->landmark = 10107;
    manager->PrepareSwitch(9);
    manager->Request(9);
    manager->SwitchSuspend();
    manager->Request(2);
    manager->SwitchSuspend();
    EXPECT_EQ(seen, (std::vector<std::string>{"", "m0"}));
}

TEST_F(ModuleMgrTest, AModuleLeavingFromItsOwnHandlerIsFreedAfterIt)
{
    SendMsg(*window, CMainWnd::kMsgRequestModule, 3, 1, nullptr);
    ASSERT_EQ(manager->GetCurModule(), 3);
    log.clear();
    {
        CDispatchScope dispatch; // as the pump runs a click
        SendMsg(*Module(3), 999, 0, 0, nullptr);
        EXPECT_EQ(log, (Log{"3:query", "3:hide", "10:resume", "3:after leaving"}));
        EXPECT_EQ(manager->GetModule(3), nullptr);
    }
    EXPECT_EQ(log.back(), "3:deleted");
    EXPECT_EQ(manager->GetCurModule(), CModuleMgr::kTravel);
}

TEST_F(ModuleMgrTest, TheTravelModuleResetsTheTripOnMessageThree)
{
    ResetModuleConstructors();
    auto* travel = new CTravel(CRect(0, 0, 480, 640));
    travel->OnAttach();
    travel->SetMode(0);
    EXPECT_EQ(travel->GetLandmarkId(), -1);
    ASSERT_NE(travel->GetCurDate(), nullptr);
    EXPECT_EQ(travel->GetCurDate()->GetYear(), 1848);
    SendMsg(*travel, CTravel::kMsgResetTrip, 0, 0, nullptr); // no application: only the trip
    EXPECT_EQ(travel->GetMode(), CTrip::kNotOnRoute);
    EXPECT_EQ(travel->GetNodeId(), -1);
    delete travel;
}

} // namespace
