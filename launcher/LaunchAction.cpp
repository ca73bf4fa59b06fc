#include "launcher/LaunchAction.h"

#include <fstream>
#include <iterator>

#include "engine/framework/FileSpecs.h"

namespace tour {
namespace {

// A shortcut file is a few lines; more than this is not one.
constexpr std::streamsize kMaxShortcutBytes = 64 * 1024;

bool StartProgram(CLaunchProc& launcher, LaunchServices& services)
{
    services.ShowBusy(true);
    const bool started = launcher.Run();
    services.ShowBusy(false);
    return started;
}

} // namespace

std::optional<std::string> ReadShortcutFile(const std::string& enginePath)
{
    const CFileSpec spec(enginePath.c_str());
    const std::optional<std::filesystem::path> host = spec.HostPath();
    if (!host)
        return std::nullopt;
    std::ifstream in(*host, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(static_cast<size_t>(kMaxShortcutBytes) + 1, '\0');
    in.read(text.data(), kMaxShortcutBytes + 1);
    if (in.gcount() > kMaxShortcutBytes)
        return std::nullopt;
    text.resize(static_cast<size_t>(in.gcount()));
    return ReadShortcutUrl(text);
}

bool Launch(const LaunchItemData& item, LaunchServices& services)
{
    const LaunchCommand& command = item.parsed;
    switch (command.kind) {
    case LaunchKind::Program: {
        const std::unique_ptr<CLaunchProc> launcher =
            services.MakeLauncher(command.program, command.argument);
        if (StartProgram(*launcher, services))
            return !item.endsTour;
        services.ShowMessage(
            ProgramFailureText(item.failure, services.placeholder, command.program, item.command.size()),
            true);
        return true;
    }
    case LaunchKind::Installed: {
        const std::optional<std::string> path =
            InstalledProgramPath(command.key, command.argument.value_or(""));
        if (path) {
            const std::unique_ptr<CLaunchProc> launcher = services.MakeLauncher(*path, std::nullopt);
            if (StartProgram(*launcher, services))
                return !item.endsTour;
        }
        services.ShowMessage(item.failure, true);
        return true;
    }
    case LaunchKind::Link: {
        const std::optional<std::string> url = ReadShortcutFile(command.argument.value_or(""));
        if (!url || !services.OpenLink(*url))
            services.ShowMessage(services.linkPrefix + " " + url.value_or(""), false);
        return true;
    }
    case LaunchKind::Menu: services.SwitchScreen(command.screen); return true;
    case LaunchKind::None: return !item.endsTour;
    case LaunchKind::Bad: services.ShowMessage(BadItemText(item.label, command.fault), true); return true;
    }
    return true;
}

} // namespace tour
