#include "launcher/Vespar32Program.h"

#include <filesystem>
#include <memory>

#include "engine/controls/ScriptTargets.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/text/EngineHooks.h"
#include "engine/framework/Appl.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "launcher/HeadlessLines.h"
#include "launcher/TourApp.h"
#include "platform/Files.h"
#include "platform/Programs.h"
#include "platform/SystemInfo.h"
#include "platform/TextEscape.h"
#include "platform/headless/ScriptSession.h"

namespace tour {
namespace {

constexpr const char* kUsage = "usage: vespar32 [--headless] [--script FILE] [--tour DIR] [FILE...]";
// The script's quit command.
constexpr int32_t kScriptQuit = 252;

CTourApp* TourApp() { return dynamic_cast<CTourApp*>(GetApplication()); }

plat::WindowHandle MenuWindow()
{
    const CTourApp* app = TourApp();
    return app && app->GetMenuWindow() ? app->GetMenuWindow()->GetHwnd() : 0;
}

bool WriteMenuArea(const std::string& file) { return WriteWindowArea(MenuWindow(), file); }

// Message n to the application at the next pass; the script's quit asks the application to
// quit.
void QueueCommand(int32_t id)
{
    if (CBaseAppl* appl = GetApplication())
        SendMessageRecord(*appl, id == kScriptQuit ? kMsgQuit : id, 0, 0, 0, nullptr);
}

// The tour folder becomes drive C:, the current folder and the program folder.
void UseTourFolder(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path = fs::absolute(folder, ec).lexically_normal();
    if (ec || !fs::is_directory(path, ec))
        throw Vespar32UsageError("no tour folder \"" + folder + "\"");
    plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
    plat::SetProgramFolder(path);
    plat::SetCurrentFolder("C:\\");
}

// A headless run starts nothing: it prints what each pick would have started.
TourHooks HeadlessHooks(std::ostream& out)
{
    plat::RecordSpawns(true);
    TourHooks hooks;
    hooks.openLink = [&out](const std::string& url) {
        if (!plat::IsOpenableUrl(url))
            return false;
        out << UrlLine(url) << '\n' << std::flush;
        return true;
    };
    hooks.afterPick = [&out, printed = size_t{0}]() mutable {
        const std::vector<plat::SpawnRequest>& spawns = plat::GetRecordedSpawns();
        for (; printed < spawns.size(); ++printed)
            out << SpawnLine(spawns[printed]) << '\n';
        out.flush();
    };
    return hooks;
}

} // namespace

Vespar32Options ParseVespar32Options(const std::vector<std::string>& args)
{
    Vespar32Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--headless") {
            options.headless = true;
        } else if (a == "--script" || a == "--tour") {
            if (i + 1 >= args.size())
                throw Vespar32UsageError(a + " needs a value");
            (a == "--script" ? options.script : options.tour) = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw Vespar32UsageError("unknown option " + a);
        } else {
            options.files.push_back(a);
        }
    }
    return options;
}

int RunVespar32(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    Vespar32Options options;
    std::vector<ScriptLine> script;
    try {
        options =
            ParseVespar32Options(std::vector<std::string>(args.begin() + (args.empty() ? 0 : 1), args.end()));
        if (options.tour)
            UseTourFolder(*options.tour);
        if (options.script)
            script = ReadScriptFile(*options.script, in);
    } catch (const Vespar32UsageError& e) {
        plat::WriteErrorLine(err, "vespar32", e.what());
        err << kUsage << '\n';
        return 1;
    } catch (const ScriptError& e) {
        plat::WriteErrorLine(err, "vespar32", e.what());
        return 1;
    }

    SetEngineProfile(LauncherProfile());
    ScriptSession session("vespar32", options.headless, options.script, std::move(script),
                          ScriptTarget{&MenuWindow, &QueueCommand, &FindShownObjectCentre, &WriteMenuArea},
                          out, err);
    TourHooks hooks;
    if (session.IsHeadless())
        hooks = HeadlessHooks(out);

    std::vector<std::string> commandLine{args.empty() ? std::string("vespar32") : args[0]};
    commandLine.insert(commandLine.end(), options.files.begin(), options.files.end());
    SetCommandLine(commandLine);
    InstallEngineHooks();

    {
        CMsgBox box;
        auto app = std::make_unique<CTourApp>(std::move(hooks));
        if (!app->FoundAnother())
            app->Run();
    }
    return session.Finish(err);
}

} // namespace tour
