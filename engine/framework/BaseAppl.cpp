// The application base: start-up checks, product version, command-line files and the pump.
#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>

#include "engine/framework/Appl.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stdio.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "platform/Clock.h"
#include "platform/Fatal.h"
#include "platform/Files.h"
#include "platform/SystemInfo.h"
#include "platform/Window.h"

namespace {

CBaseAppl* g_appl = nullptr;
std::vector<std::string> g_commandLine;

// The longest a pass sleeps without any timer or message due: it still wakes now and then.
constexpr uint64_t kMaxWaitMs = 1000;

constexpr const char* kStartupStrings[] = {
    "",
    "This product requires a video mode that supports at least %s colors.",
    "This product will run more efficiently in %s colors.",
    "16",
    "256",
    "thousands of",
    "millions of",
    "Video Mode",
    "Inadequate video mode.",
    "There is not enough memory available to run this product.  Please exit other applications and try "
    "again.",
    "Launch Error",
    "Insufficient memory.",
    "There are not enough system resources available to run this product.  Please exit other "
    "applications and try again.",
    "Insufficient system resources.",
    "Cannot find the file *.QMD.",
    "Cannot find the file QMEng.LNG.",
};

std::string WithArgument(int16_t formatId, const char* argument)
{
    std::string text = GetStartupString(formatId);
    if (const size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

const char* ColourCountText(int depth)
{
    return GetStartupString(depth == 4 ? 3 : depth == 8 ? 4 : depth == 16 ? 5 : 6);
}

[[noreturn]] void StartupFailure(const std::string& text, int16_t exitStringId)
{
    CMsgBox::ShowBox(0, text.c_str(), GetStartupString(10), CMsgBox::kIconStop, CMsgBox::kButtonsOk, 1);
    plat::Fatal(GetStartupString(exitStringId));
}

// The display check: ends the program when the display cannot show the required depth;
// answers the depth found.
int16_t CheckDisplay(const ApplRequirements& req)
{
    const plat::DisplayCaps caps = plat::GetDisplayCaps();
    const int depth = caps.bitsPerPixel;
    if (depth < req.requiredDepth || (depth <= 8 && !caps.paletteBased))
        StartupFailure(WithArgument(1, ColourCountText(req.requiredDepth)), 8);
    const int16_t found = static_cast<int16_t>(depth == 24 ? 32 : depth);
    if (req.recommendedDepth != 0 && req.recommendedDepth != found)
        CMsgBox::ShowBox(0, WithArgument(2, ColourCountText(req.recommendedDepth)).c_str(),
                         GetStartupString(7), CMsgBox::kIconInformation, CMsgBox::kButtonsOk, 1);
    return found;
}

void CheckMemory(const ApplRequirements& req)
{
    if (static_cast<uint32_t>(CBaseAppl::GetFreeMemory()) < req.freeMemory)
        StartupFailure(GetStartupString(9), 11);
}

// Engine paths name folders the way the data does; the program's own folder becomes the
// current folder when it lies on one of the drives.
void EnterProgramFolder()
{
    if (const auto folder = plat::ToEnginePath(plat::GetProgramFolder()))
        plat::SetCurrentFolder(*folder);
}

bool IsEnginePath(const std::string& text)
{
    return (text.size() >= 2 && text[1] == ':') || text.find('\\') != std::string::npos;
}

} // namespace

std::unique_ptr<CFileSpec> CommandLineFileSpec(const std::string& argument)
{
    std::string path = argument;
    if (!IsEnginePath(argument)) {
        std::error_code ec;
        const std::filesystem::path host = std::filesystem::absolute(argument, ec);
        if (ec)
            return nullptr;
        std::optional<std::string> engine = plat::ToEnginePath(host);
        // A file outside every drive is reached through a drive for the host's root.
        if (!engine && plat::DriveForFolder(host.root_path()))
            engine = plat::ToEnginePath(host);
        if (!engine)
            return nullptr;
        path = *engine;
    }
    // Only "X:NAME" is left without a backslash: the name lies in the root of that drive.
    if (path.size() >= 2 && path.find('\\') == std::string::npos)
        path = path.substr(0, 2) + '\\' + path.substr(2);
    const size_t slash = path.rfind('\\');
    const std::string folder = path.substr(0, slash + 1);
    std::string name = path.substr(slash + 1);
    if (name.empty())
        return nullptr;
    // The name as the file system stores it, whatever letter case the argument used.
    if (const auto entries = plat::ListFolderNames(folder, name))
        for (const plat::FolderEntry& e : *entries)
            if (plat::NamesEqualNoCase(e.name, name)) {
                name = e.name;
                break;
            }
    auto spec = std::make_unique<CFileSpec>(folder.c_str());
    spec->Append(name.c_str());
    return spec;
}

const char* GetStartupString(int16_t id)
{
    constexpr int16_t count = static_cast<int16_t>(std::size(kStartupStrings));
    return id > 0 && id < count ? kStartupStrings[id] : "";
}

void SetCommandLine(std::vector<std::string> arguments) { g_commandLine = std::move(arguments); }
const std::vector<std::string>& GetCommandLine() { return g_commandLine; }

CBaseAppl::CBaseAppl(const ApplRequirements* requirements) : CEventObj(0, 1, nullptr)
{
    const ApplRequirements req = requirements ? *requirements : ApplRequirements{};
    EnterProgramFolder();
    depth_ = CheckDisplay(req);
    CheckMemory(req);
    const std::string version = plat::GetProductVersion();
    if (!version.empty())
        version_ = version.substr(0, 15);
    g_appl = this;
}

CBaseAppl::~CBaseAppl()
{
    StdioFinish();
    if (auto& deleteDC = GetApplHooks().deleteScratchDC)
        deleteDC();
    if (g_appl == this)
        g_appl = nullptr;
}

CBaseAppl* CBaseAppl::GetAppl() { return g_appl; }
CBaseAppl* GetApplication() { return g_appl; }

int32_t CBaseAppl::GetFreeMemory()
{
    const plat::MemoryStatus status = plat::GetMemoryStatus();
    const uint64_t total = status.freePhysical + status.freeSwap;
    return static_cast<int32_t>(std::min<uint64_t>(total, std::numeric_limits<int32_t>::max()));
}

void CBaseAppl::StartupError(int16_t stringId) { StartupFailure(GetStartupString(stringId), 10); }

void CBaseAppl::SendCommandLineFiles()
{
    for (size_t i = 1; i < g_commandLine.size(); ++i) {
        std::unique_ptr<CFileSpec> spec = CommandLineFileSpec(g_commandLine[i]);
        if (!spec)
            continue;
        CMessage open(kMsgOpenFile, 0, 0, -1);
        open.SetParamPtr(spec.get(), 2);
        // A receiver that handles the message owns the file spec.
        if (DeliverMessage(*this, open, nullptr, false))
            spec.release();
    }
}

void CBaseAppl::PumpMessage(bool)
{
    // Objects that handlers delete during the pass are freed when it ends.
    CDispatchScope dispatch;
    RunDueTimers();
    if (!AreMessagesHeld())
        ProcessDueMessages();
    plat::PlatMessage msg;
    if (!plat::PeekWindowMessage(msg, false) && !IsQuitRequested())
        WaitForWork();
    // The window system's queue also yields paint requests of windows with invalid areas.
    if (!plat::PeekWindowMessage(msg, true))
        return;
    const ApplHooks& hooks = GetApplHooks();
    if (hooks.isHotKeyMessage && hooks.isHotKeyMessage(msg)) {
        // Hot keys are never dispatched; the menu bar finds and invokes their item.
        if (GetMenuBar() && hooks.invokeHotKey)
            hooks.invokeHotKey(GetMenuBar(), msg.wParam);
    } else if (hooks.dispatchPlatformMessage) {
        hooks.dispatchPlatformMessage(msg);
    }
}

void CBaseAppl::WaitForWork()
{
    std::optional<uint32_t> ticks = TicksUntilNextTimer();
    if (!AreMessagesHeld())
        if (const auto msgTicks = TicksUntilNextMessage(); msgTicks && (!ticks || *msgTicks < *ticks))
            ticks = msgTicks;
    if (pumpEndTick_) {
        const auto left = static_cast<int32_t>(*pumpEndTick_ - GetTick());
        const uint32_t endTicks = left > 0 ? static_cast<uint32_t>(left) : 0;
        if (!ticks || endTicks < *ticks)
            ticks = endTicks;
    }
    if (ticks && *ticks == 0)
        return; // something is due now: no sleep
    // Tick counts of every clock advance with the platform's tick, so the wake-up lies at
    // the start of the platform tick that many ticks on.
    const uint64_t nowMs = plat::GetClock().NowMs();
    uint64_t deadline = nowMs + kMaxWaitMs;
    if (ticks)
        deadline = std::min(deadline, (static_cast<uint64_t>(plat::TickFromMs(nowMs)) + *ticks) * 17);
    plat::WaitWindowMessage(deadline);
}
