#include "game/program/Qm3Program.h"

#include <charconv>
#include <fstream>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/text/ScreenHooks.h"
#include "engine/framework/Appl.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/LibraryHooks.h"
#include "platform/headless/ScriptRunner.h"
#include "game/shell/GameGlobals.h"
#include "game/shell/QM3Appl.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/SdlBackend.h"
#include "platform/Window.h"

namespace {

constexpr const char* kUsage = "usage: qm3 [--headless] [--script FILE] [--seed N] [SAVED-GAME...]";

std::vector<ScriptLine> ReadScript(const std::string& file, std::istream& in)
{
    if (file == "-")
        return ParseScript(in, file);
    std::ifstream stream(file);
    if (!stream)
        throw ScriptError(file, 0, "cannot read the script");
    return ParseScript(stream, file);
}

plat::WindowHandle GameWindow() { return Game().topWnd ? Game().topWnd->GetHwnd() : 0; }

// The frame of the id, shown along its whole branch and enabled, in the frame's subtree.
CFrame* FindShown(CFrame* frame, int32_t id)
{
    if (!frame || !frame->IsShown())
        return nullptr;
    if (frame->GetId() == id && frame->IsEnabled())
        return frame;
    for (CFrame* child : ChildFrames(*frame))
        if (CFrame* found = FindShown(child, id))
            return found;
    return nullptr;
}

std::optional<plat::Point> FindObjectCentre(int32_t id)
{
    const std::vector<plat::WindowHandle> windows = plat::GetTopLevelWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        CWind* window = plat::IsVisible(*it) ? CWind::FromHandle(*it) : nullptr;
        if (!window)
            continue;
        for (int32_t i = window->GetLayerCount() - 1; i >= 0; --i)
            if (CFrame* found = FindShown(window->GetLayer(i), id)) {
                const CRect& r = found->GetDrawnRect();
                const plat::Point centre{(r.GetLeft() + r.GetRight()) / 2, (r.GetTop() + r.GetBottom()) / 2};
                return plat::ClientToScreen(*it, centre);
            }
    }
    return std::nullopt;
}

bool WriteGameArea(const std::string& file)
{
    plat::Rect area = plat::GetPresentedArea();
    if (const plat::WindowHandle window = GameWindow()) {
        const plat::Rect client = plat::GetClientRect(window);
        const plat::Point origin = plat::ClientToScreen(window, plat::Point{0, 0});
        area = plat::Rect::FromSize(origin.x, origin.y, client.Width(), client.Height());
    }
    return plat::WriteDesktopPng(file, &area);
}

void QueueCommand(int32_t id)
{
    if (CBaseAppl* appl = GetApplication())
        SendMessageRecord(*appl, id, 0, 0, 0, nullptr);
}

void InstallEngine()
{
    InstallDefinitionTextHooks();
    InstallLibraryHooks();
    InstallGraphicsHooks();
    InstallWindowHooks();
    InstallScreenHooks();
    RegisterEngineClasses();
}

} // namespace

Qm3Options ParseQm3Options(const std::vector<std::string>& args)
{
    Qm3Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--headless") {
            options.headless = true;
        } else if (a == "--script" || a == "--seed") {
            if (i + 1 >= args.size())
                throw UsageError(a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--script") {
                options.script = value;
                continue;
            }
            uint32_t seed = 0;
            const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
            if (value.empty() || ec != std::errc() || ptr != value.data() + value.size())
                throw UsageError("bad seed \"" + value + "\"");
            options.seed = seed;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw UsageError("unknown option " + a);
        } else {
            options.savedGames.push_back(a);
        }
    }
    return options;
}

int RunQm3(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    Qm3Options options;
    std::vector<ScriptLine> script;
    try {
        options =
            ParseQm3Options(std::vector<std::string>(args.begin() + (args.empty() ? 0 : 1), args.end()));
        if (options.script)
            script = ReadScript(*options.script, in);
    } catch (const UsageError& e) {
        err << "qm3: " << e.what() << '\n' << kUsage << '\n';
        return 1;
    } catch (const ScriptError& e) {
        err << "qm3: " << e.what() << '\n';
        return 1;
    }

    const bool forceHeadless = options.headless || options.script.has_value();
    std::string reason;
    const plat::Backend backend = plat::StartDisplay(forceHeadless, &reason);
    if (backend == plat::Backend::Null && !forceHeadless)
        err << "qm3: no display (" << (reason.empty() ? "none set" : reason) << "); running headless\n";

    // Headless runs go by a fake clock, moved only by a script's ticks.
    ScriptClock clock;
    std::unique_ptr<ScriptRunner> runner;
    if (backend == plat::Backend::Null) {
        plat::SetClock(&clock);
        ScriptTarget target{&GameWindow, &QueueCommand, &FindObjectCentre, &WriteGameArea};
        runner = std::make_unique<ScriptRunner>(std::move(script), options.script.value_or(""), clock,
                                                std::move(target), out);
        plat::SetMessageBoxService(runner.get());
        if (options.script)
            plat::GetMessageQueue().SetEventSource(
                [r = runner.get()](plat::MessageQueue& queue, uint64_t deadline) {
                    r->Pump(queue, deadline);
                });
    }
    if (options.seed)
        CUtil::SetRandomSeed(*options.seed);

    std::vector<std::string> commandLine{args.empty() ? std::string("qm3") : args[0]};
    commandLine.insert(commandLine.end(), options.savedGames.begin(), options.savedGames.end());
    SetCommandLine(commandLine);
    InstallEngine();

    {
        CMsgBox box;
        auto appl = std::make_unique<CQM3Appl>();
        appl->Run();
    }

    int status = 0;
    if (runner && runner->GetError()) {
        err << "qm3: " << *runner->GetError() << '\n';
        status = 1;
    }
    plat::GetMessageQueue().SetEventSource(nullptr);
    plat::SetMessageBoxService(nullptr);
    plat::SetClock(nullptr);
    plat::StopSdlDisplay();
    return status;
}
