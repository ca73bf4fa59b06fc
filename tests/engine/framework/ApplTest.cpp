#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Appl.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Memory.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/Str.h"
#include "engine/framework/TimerEvent.h"
#include "platform/Fatal.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/SystemInfo.h"
#include "tests/engine/framework/TestObjects.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace {

using fwtest::Log;
using fwtest::Probe;

const std::vector<plat::MessageBoxRequest>& Boxes() { return plat::GetScriptedMessageBoxes().Log(); }

// Opaque stand-ins for the objects of subsystems the hooks talk to.
CMenuBar* const kBar = reinterpret_cast<CMenuBar*>(0x1000);
CPalette* Pal(int i) { return reinterpret_cast<CPalette*>(static_cast<uintptr_t>(0x2000 + i)); }

class TestAppl : public CAppl {
public:
    explicit TestAppl(Log& log, const ApplRequirements* req = nullptr) : CAppl(req), log_(log) {}
    bool HandleMessage(CMessage& m, CBaseObj* sender) override
    {
        log_.push_back("appl:" + std::to_string(m.GetId()));
        if (onMessage && onMessage(m))
            return true;
        return CAppl::HandleMessage(m, sender);
    }
    void PumpMessage(bool peek) override
    {
        ++passes;
        CAppl::PumpMessage(peek);
    }
    void OnMenuBarCreated(CMenuBar* bar) override
    {
        log_.push_back(bar == kBar ? "created:bar" : "created:none");
    }

    std::function<bool(CMessage&)> onMessage;
    int passes = 0;

private:
    Log& log_;
};

// Hooks that log each call by name.
void LogHooks(Log& log)
{
    ApplHooks& h = GetApplHooks();
    auto note = [&log](const char* name) { return [&log, name] { log.push_back(name); }; };
    h.defineRecordFormats = note("formats");
    h.createCursorMgr = note("cursors+");
    h.deleteCursorMgr = note("cursors-");
    h.setDefaultCursor = note("arrow");
    h.createLibMgr = note("libs+");
    h.deleteLibMgr = note("libs-");
    h.loadEngineStrings = [&log] {
        log.push_back("strings");
        SetEngineStrings({"e0", "e1"});
    };
    h.initFonts = note("fonts+");
    h.deleteFonts = note("fonts-");
    h.createScratchDC = note("dc+");
    h.deleteScratchDC = note("dc-");
    h.pauseAllWindows = note("windows:pause");
    h.restoreAllWindows = note("windows:restore");
    h.showBorderWnd = [&log](bool restored) { log.push_back(restored ? "border:restored" : "border:max"); };
    h.createPalette = [&log](int32_t id, uint32_t) {
        log.push_back("palette+" + std::to_string(id));
        return Pal(id);
    };
    h.deletePalette = [&log](CPalette* p) {
        log.push_back("palette-" + std::to_string(reinterpret_cast<uintptr_t>(p) - 0x2000));
    };
    h.buildMenuBar = [&log] {
        log.push_back("menu+");
        return kBar;
    };
    h.detachMenuBar = [&log](CMenuBar*) { log.push_back("menu:detach"); };
    h.deleteMenuBar = [&log](CMenuBar*) { log.push_back("menu-"); };
    h.suspendHotKeys = [&log](CMenuBar*, bool s) { log.push_back(s ? "hotkeys:off" : "hotkeys:on"); };
}

using qmtest::FatalText;

TEST(StartupTest, DisplayAndMemoryChecks)
{
    struct Case {
        int bits;
        bool palette;
        int16_t required, recommended;
        std::string fatal;   // empty when the program goes on
        std::string boxText; // empty when no box is shown
        std::string boxCaption;
        int16_t depth;
    };
    const std::vector<Case> cases = {
        {8, true, 8, 0, "", "", "", 8},
        {24, false, 8, 32, "", "", "", 32},
        {8, false, 8, 0, "Inadequate video mode.",
         "This product requires a video mode that supports at least 256 colors.", "Launch Error", 0},
        {8, true, 16, 0, "Inadequate video mode.",
         "This product requires a video mode that supports at least thousands of colors.", "Launch Error", 0},
        {16, true, 4, 0, "", "", "", 16},
        {8, true, 8, 16, "", "This product will run more efficiently in thousands of colors.", "Video Mode",
         8},
        {32, true, 24, 8, "", "This product will run more efficiently in 256 colors.", "Video Mode", 32},
        {8, true, 24, 0, "Inadequate video mode.",
         "This product requires a video mode that supports at least millions of colors.", "Launch Error", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, required " + std::to_string(c.required));
        plat::GetScriptedMessageBoxes().Clear();
        plat::SetDisplayCaps({c.bits, c.palette, 800, 600});
        ApplRequirements req;
        req.requiredDepth = c.required;
        req.recommendedDepth = c.recommended;
        Log log;
        int16_t depth = 0;
        const std::string fatal = FatalText([&] {
            TestAppl app(log, &req);
            depth = app.GetDisplayDepth();
        });
        EXPECT_EQ(fatal, c.fatal.empty() ? "(returned)" : c.fatal);
        EXPECT_EQ(depth, c.depth);
        if (c.boxText.empty()) {
            EXPECT_TRUE(Boxes().empty());
        } else {
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].text, c.boxText);
            EXPECT_EQ(Boxes()[0].caption, c.boxCaption);
            EXPECT_EQ(Boxes()[0].icon, c.fatal.empty() ? plat::MbIcon::Information : plat::MbIcon::Error);
        }
        EXPECT_EQ(GetApplication(), nullptr);
    }
}

TEST(StartupTest, MemoryCheckAndVersion)
{
    plat::MemoryStatus little{1000000, 1000000};
    plat::SetMemoryStatusOverride(&little);
    Log log;
    EXPECT_EQ(FatalText([&] { TestAppl app(log); }), "Insufficient memory.");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text,
              "There is not enough memory available to run this product.  Please exit other applications and "
              "try again.");
    EXPECT_EQ(Boxes()[0].caption, "Launch Error");

    // More than 32 bits of free memory does not wrap into too little.
    plat::MemoryStatus lots{uint64_t{5} << 32, 0};
    plat::SetMemoryStatusOverride(&lots);
    EXPECT_EQ(CBaseAppl::GetFreeMemory(), 0x7FFFFFFF);
    TestAppl app(log);
    EXPECT_EQ(std::string(app.GetVersion()), plat::GetProductVersion());
    EXPECT_EQ(GetApplication(), &app);
    EXPECT_EQ(app.GetKind(), 0u);
    EXPECT_EQ(app.GetId(), 1);
}

TEST(ApplTest, ConstructionInitAndDestructionOrder)
{
    Log log;
    LogHooks(log);
    GetApplHooks().libraryCount = [] { return 2; };
    {
        TestAppl app(log);
        EXPECT_EQ(log, (Log{"formats", "cursors+", "libs+"}));
        EXPECT_NE(GetRealClock(), nullptr);
        log.clear();
        app.Init(7);
        EXPECT_EQ(log, (Log{"strings", "palette+7", "fonts+", "menu+", "created:bar", "dc+"}));
        EXPECT_STREQ(GetEngineString(1), "e1");
        EXPECT_EQ(GetMenuBar(), kBar);
        EXPECT_EQ(app.GetPalette(), Pal(7));
        log.clear();

        // Building the menu bar again detaches and deletes the old one first.
        app.CreateMenuBar();
        EXPECT_EQ(log, (Log{"menu:detach", "menu-", "menu+", "created:bar"}));
        log.clear();
        app.SetRegistered(true);
        EXPECT_TRUE(app.IsLive());
    }
    EXPECT_EQ(log,
              (Log{"border:restored", "menu-", "fonts-", "arrow", "cursors-", "palette-7", "libs-", "dc-"}));
    EXPECT_EQ(GetApplication(), nullptr);
    EXPECT_EQ(GetMenuBar(), nullptr);
    EXPECT_EQ(GetEngineString(0), nullptr);
    EXPECT_EQ(GetLiveObjectCount(), 0);
}

TEST(ApplTest, InitWithoutALibraryIsAStartupError)
{
    Log log;
    TestAppl app(log);
    EXPECT_EQ(FatalText([&] { app.Init(1); }), "Launch Error");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Cannot find the file *.QMD.");
    EXPECT_EQ(Boxes()[0].caption, "Launch Error");
    EXPECT_EQ(Boxes()[0].icon, plat::MbIcon::Error);
    EXPECT_STREQ(GetStartupString(15), "Cannot find the file QMEng.LNG.");
    EXPECT_STREQ(GetStartupString(16), "");
}

TEST(ApplTest, PumpPassOrderAndOnePlatformMessagePerPass)
{
    Log log;
    TestAppl app(log);
    Probe p(log, "p");
    GetApplHooks().dispatchPlatformMessage = [&log](const plat::PlatMessage& m) {
        log.push_back("platform:" + std::to_string(m.message));
    };
    p.StartTimer(0, GetRealClock());
    CBaseObj key(5, 1, nullptr);
    SendMessageRecord(key, 9, 0, 0, 0, nullptr);
    plat::GetMessageQueue().Post({0, 100});
    plat::GetMessageQueue().Post({0, 101});
    app.PumpMessage(true);
    EXPECT_EQ(log, (Log{"p:tick", "p:9", "platform:100"}));
    log.clear();
    app.PumpMessage(true);
    EXPECT_EQ(log, (Log{"p:tick", "platform:101"}));

    // Hot keys go to the menu bar, never to the window system.
    log.clear();
    p.StopTimer();
    SetMenuBar(kBar);
    GetApplHooks().isHotKeyMessage = [](const plat::PlatMessage& m) { return m.message == 0x312; };
    GetApplHooks().invokeHotKey = [&log](CMenuBar*, uintptr_t id) {
        log.push_back("hotkey:" + std::to_string(id));
    };
    plat::GetMessageQueue().Post({0, 0x312, 42});
    app.PumpMessage(true);
    EXPECT_EQ(log, (Log{"hotkey:42"}));
    SetMenuBar(nullptr);
}

TEST(ApplTest, RunEndsOnQuitAfterTheCurrentPass)
{
    Log log;
    TestAppl app(log);
    Probe p(log, "p");
    int ticks = 0;
    p.StartTimer(3, GetRealClock());
    p.onTimer = [&] {
        if (++ticks == 2)
            SendMsg(app, kMsgQuit, 0, 0, nullptr);
    };
    app.Run();
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(ticks, 2);
    // The idle pump slept until each timer fell due instead of spinning.
    EXPECT_LE(app.passes, 4);
    EXPECT_EQ(GetTick(), 6u);
}

TEST(ApplTest, IdleTimerEndsRunAndIsDeleted)
{
    Log log;
    TestAppl app(log);
    app.StartIdleTimer(100);
    EXPECT_EQ(GetTimerCount(), 1);
    app.Run();
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(app.GetIdleTimer(), nullptr);
    EXPECT_EQ(GetTimerCount(), 0);
    EXPECT_GE(GetGameClock()->Elapsed(), 100u);
    EXPECT_LE(app.passes, 3);
}

TEST(ApplTest, PumpForRunsUntilTheTickHasMoved)
{
    Log log;
    TestAppl app(log);
    const uint32_t start = GetTick();
    app.PumpFor(0);
    EXPECT_EQ(GetTick(), start + 1);
    app.PumpFor(5);
    EXPECT_EQ(GetTick(), start + 7);

    // A period-0 timer fires on every pass, yet an idle pass sleeps until the next tick.
    int waits = 0;
    plat::GetMessageQueue().SetEventSource([&](plat::MessageQueue&, uint64_t) { ++waits; });
    Probe p(log, "p");
    p.StartTimer(0, GetRealClock());
    app.passes = 0;
    log.clear();
    app.PumpFor(2);
    EXPECT_GE(waits, 2);
    EXPECT_LE(app.passes, 4);
    EXPECT_EQ(static_cast<int>(log.size()), app.passes);
    p.StopTimer();
    waits = 0;
    app.PumpFor(0);
    EXPECT_EQ(waits, 1);

    // Quit ends it at once.
    SetQuitRequested(true);
    app.passes = 0;
    app.PumpFor(100);
    EXPECT_EQ(app.passes, 0);
}

TEST(ApplTest, NestedPumpInsideAHandler)
{
    Log log;
    TestAppl app(log);
    Probe p(log, "p");
    CBaseObj key(5, 1, nullptr);
    for (int id = 1; id <= 3; ++id)
        SendMessageRecord(key, id, 0, 0, 0, nullptr);
    SendMessageRecord(key, 4, 3, 0, 0, nullptr);
    p.onMessage = [&](CMessage& m) {
        if (m.GetId() == 3)
            app.PumpFor(5); // a modal loop inside the handler
        return true;
    };
    app.PumpMessage(true);
    EXPECT_EQ(log, (Log{"p:3", "p:2", "p:1", "p:4"}));
    EXPECT_EQ(GetPendingMessageCount(), 0);
}

TEST(ApplTest, PauseNestsTheGameClockOnly)
{
    Log log;
    LogHooks(log);
    TestAppl app(log);
    SetMenuBar(kBar);
    log.clear();
    app.Resume(); // without a pause: the game clock runs on unchanged
    qmtest::Clock().Advance(17 * 4);
    EXPECT_EQ(GetGameClock()->Elapsed(), 4u);

    app.Pause();
    app.Pause();
    EXPECT_TRUE(IsAppPaused());
    CBaseObj key(5, 1, nullptr);
    Probe p(log, "p");
    SendMessageRecord(key, 7, 2, 0, 0, nullptr); // queued while paused
    qmtest::Clock().Advance(17 * 10);
    app.PumpMessage(true);
    EXPECT_EQ(GetGameClock()->Elapsed(), 4u);
    app.Resume();
    EXPECT_FALSE(IsAppPaused());
    EXPECT_TRUE(GetGameClock()->IsPaused()); // the clock nests, the flags do not
    app.PumpMessage(true);
    app.Resume();
    EXPECT_FALSE(GetGameClock()->IsPaused());
    EXPECT_EQ(
        log, (Log{"hotkeys:on", "windows:restore", "hotkeys:off", "windows:pause", "hotkeys:off",
                  "windows:pause", "hotkeys:on", "windows:restore", "p:7", "hotkeys:on", "windows:restore"}));
}

TEST(ApplTest, HandlesQuitAndFocusCommands)
{
    Log log;
    TestAppl app(log);
    std::vector<int32_t> focus;
    GetApplHooks().sendToActiveFocus = [&](int32_t id) { focus.push_back(id); };
    for (int32_t id : {-35, -34, -30, -29, 5})
        SendMsg(app, id, 0, 0, nullptr);
    EXPECT_EQ(focus, (std::vector<int32_t>{-34, -30}));
    CMessage m(-35);
    EXPECT_FALSE(app.HandleMessage(m, nullptr));
    CMessage f(-32);
    EXPECT_TRUE(app.HandleMessage(f, nullptr));
    EXPECT_FALSE(IsQuitRequested());
    CMessage q(kMsgQuit);
    EXPECT_TRUE(app.HandleMessage(q, nullptr));
    EXPECT_TRUE(IsQuitRequested());
}

TEST(ApplTest, CommandLineFilesBecomeOpenMessages)
{
    const std::filesystem::path root = qmtest::TempDir();
    plat::SetDrives({{'C', root}});
    qmtest::WriteFile(root / "Saves" / "First.qm3", "x");
    qmtest::WriteFile(root / "Saves" / "Second Game.QM3", "y");
    qmtest::WriteFile(root / "top.qm3", "z");

    Log log;
    TestAppl app(log);
    std::vector<std::string> opened;
    std::vector<std::unique_ptr<CFileSpec>> kept;
    app.onMessage = [&](CMessage& m) {
        if (m.GetId() != kMsgOpenFile)
            return false;
        auto* spec = m.GetParamPtr<CFileSpec>(2);
        opened.push_back(spec->GetPath());
        if (opened.size() != 1)
            return false; // not taken: the sender deletes it
        kept.emplace_back(spec);
        return true;
    };
    // An engine path, a host path in another letter case, a drive-relative name, and a host
    // path outside every drive (reached through a drive added for the host's root). The folder
    // stays as written.
    SetCommandLine({"qm3", "C:\\saves\\first.qm3", (root / "Saves" / "second game.qm3").string(), "C:TOP.QM3",
                    "/nowhere/else.qm3"});
    app.SendCommandLineFiles();
    EXPECT_EQ(opened, (std::vector<std::string>{"C:\\saves\\First.qm3", "C:\\Saves\\Second Game.QM3",
                                                "C:\\top.qm3", "Z:\\nowhere\\else.qm3"}));
    ASSERT_NE(plat::FindDrive('Z'), nullptr);
    EXPECT_EQ(plat::FindDrive('Z')->root, "/");
    EXPECT_EQ(plat::GetCurrentFolder(), "C:\\");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0]->GetError(), CFileSpec::kOk);
}

TEST(ApplTest, PalettesAreInstalledOnlyWhenValid)
{
    Log log;
    LogHooks(log);
    TestAppl app(log);
    std::vector<CPalette*> applied;
    GetApplHooks().isPaletteValid = [](CPalette* p) { return p != Pal(9); };
    GetApplHooks().setPaletteAllWindows = [&](CPalette* p) { applied.push_back(p); };
    log.clear();
    EXPECT_TRUE(app.SetPalette(3, 0xFFFFFFFF));
    EXPECT_FALSE(app.SetPalette(3, 0xFFFFFFFF)); // current already
    EXPECT_FALSE(app.SetPalette(9, 0xFFFFFFFF)); // invalid: deleted, current one kept
    EXPECT_TRUE(app.SetPalette(4, 0xFFFFFFFF));
    EXPECT_FALSE(app.InstallPalette(nullptr, 5));
    EXPECT_EQ(app.GetPalette(), Pal(4));
    EXPECT_EQ(app.GetPaletteId(), 4);
    EXPECT_EQ(applied, (std::vector<CPalette*>{Pal(3), Pal(4)}));
    EXPECT_EQ(log, (Log{"palette+3", "palette+9", "palette-9", "palette+4", "palette-3"}));
}

class FailOnce : public CMemoryAllocator {
public:
    void* Allocate(size_t size) override { return failed_++ ? std::malloc(size) : nullptr; }
    void* Reallocate(void* b, size_t size) override { return std::realloc(b, size); }
    void Free(void* b) override { std::free(b); }

private:
    int failed_ = 0;
};

TEST(ApplTest, LowMemoryNoticeBeforeTheRetry)
{
    Log log;
    TestAppl app(log);
    FailOnce allocator;
    SetMemoryAllocator(&allocator);
    CMemory block(64);
    SetMemoryAllocator(nullptr);
    EXPECT_TRUE(block.IsValid());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "The application is running low on memory.");
    EXPECT_EQ(Boxes()[0].caption, "Low Memory");
    EXPECT_EQ(Boxes()[0].icon, plat::MbIcon::Warning);
    EXPECT_EQ(Boxes()[0].buttons, plat::MbButtons::Ok);
}

TEST(ApplTest, ScreenBorderIsAppliedThroughTheBorderWindow)
{
    Log log;
    LogHooks(log);
    SetScreenBorder(1);
    SetScreenBorder(0);
    EXPECT_EQ(GetScreenBorder(), 0);
    EXPECT_EQ(log, (Log{"border:restored", "border:max"}));
}

} // namespace
