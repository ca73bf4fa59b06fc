#pragma once
// The one way a fatal report leaves the program. The default shows the text in a message
// box and exits with a non-zero status; tests install a hook that throws FatalError so
// they can check the exact text.
#include <functional>
#include <stdexcept>
#include <string>

namespace plat {

class FatalError : public std::runtime_error {
public:
    explicit FatalError(const std::string& text) : std::runtime_error(text) {}
};

using FatalHook = std::function<void(const std::string& text)>;

// Installs a hook; an empty hook restores the default.
void SetFatalHook(FatalHook hook);
// Hands the text to the hook. Never returns: should a hook return, the program exits.
[[noreturn]] void Fatal(const std::string& text);

// A hook that throws FatalError carrying the text.
FatalHook ThrowingFatalHook();

}  // namespace plat
