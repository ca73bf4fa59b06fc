// Reads arbitrary bytes as a launch item's command and as an Internet shortcut file: a command
// parses to one kind, a bad one always says why, and a web address is never longer than allowed.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "launcher/LaunchCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tour::LaunchCommand command = tour::ParseLaunchCommand(text);
    if ((command.kind == tour::LaunchKind::Bad) == command.fault.empty())
        __builtin_trap();
    if (command.kind == tour::LaunchKind::Menu && command.screen <= 0)
        __builtin_trap();
    const std::optional<std::string> url = tour::ReadShortcutUrl(text);
    if (url && (url->empty() || url->size() > tour::kMaxUrlBytes))
        __builtin_trap();
    return 0;
}
