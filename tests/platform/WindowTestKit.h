#pragma once
// A window class for tests: its procedure records every message it gets and hands it to an
// optional handler of the test, then to the default procedure.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace wintest {

struct Seen {
    plat::WindowHandle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

using Handler = std::function<std::optional<intptr_t>(plat::WindowHandle, uint32_t, uintptr_t, intptr_t)>;

class Recorder {
public:
    // Registers the class under the name given (double clicks on, white background).
    explicit Recorder(std::string className = "Test", uint32_t classStyle = plat::classstyle::DoubleClicks);
    void SetHandler(Handler handler) { handler_ = std::move(handler); }
    // Messages seen, optionally only those of one kind or one window.
    std::vector<Seen> Of(uint32_t message) const;
    std::vector<uint32_t> Messages(plat::WindowHandle window) const;
    void Clear() { seen_.clear(); }
    const std::vector<Seen>& All() const { return seen_; }

private:
    std::vector<Seen> seen_;
    Handler handler_;
};

// A top-level window with a caption and frame around a client area at a screen point.
plat::WindowHandle MakeTopLevel(const std::string& title, plat::Rect client, uint32_t extraStyle = 0,
                                plat::WindowHandle owner = 0, const std::string& className = "Test");
// A child window at a rectangle of its parent's client area.
plat::WindowHandle MakeChild(plat::WindowHandle parent, plat::Rect rect,
                             const std::string& className = "Test");
// Dispatches every waiting message (paints included); returns how many.
int PumpAll();

} // namespace wintest
