#include "game/program/Qm3Program.h"

#include <charconv>
#include <memory>

#include "engine/controls/ScriptTargets.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/text/EngineHooks.h"
#include "engine/framework/Appl.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/base/GameGlobals.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/EventResolve.h"
#include "platform/TextEscape.h"
#include "platform/headless/ScriptSession.h"

namespace {

constexpr const char* kUsage = "usage: qm3 [--headless] [--script FILE] [--seed N] [SAVED-GAME...]";

plat::WindowHandle GameWindow() { return Game().topWnd ? Game().topWnd->GetHwnd() : 0; }

bool WriteGameArea(const std::string& file) { return WriteWindowArea(GameWindow(), file); }

void QueueCommand(int32_t id)
{
    if (CBaseAppl* appl = GetApplication())
        SendMessageRecord(*appl, id, 0, 0, 0, nullptr);
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
            script = ReadScriptFile(*options.script, in);
    } catch (const UsageError& e) {
        plat::WriteErrorLine(err, "qm3", e.what());
        err << kUsage << '\n';
        return 1;
    } catch (const ScriptError& e) {
        plat::WriteErrorLine(err, "qm3", e.what());
        return 1;
    }

    ScriptSession session("qm3", options.headless, options.script, std::move(script),
                          ScriptTarget{&GameWindow, &QueueCommand, &FindShownObjectCentre, &WriteGameArea},
                          out, err);
    if (options.seed)
        CUtil::SetRandomSeed(*options.seed);

    std::vector<std::string> commandLine{args.empty() ? std::string("qm3") : args[0]};
    commandLine.insert(commandLine.end(), options.savedGames.begin(), options.savedGames.end());
    SetCommandLine(commandLine);
    InstallEngineHooks();

    // A headless run prints the route events it meets and how they were resolved.
    if (session.IsHeadless())
        SetEventLog(&out);
    {
        CMsgBox box;
        auto appl = std::make_unique<CQM3Appl>();
        appl->Run();
    }
    SetEventLog(nullptr);

    return session.Finish(err);
}
