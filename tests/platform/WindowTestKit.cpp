#include "tests/platform/WindowTestKit.h"

namespace wintest {

Recorder::Recorder(std::string className, uint32_t classStyle)
{
    plat::WindowClass cls;
    cls.name = std::move(className);
    cls.style = classStyle;
    cls.background = plat::Rgb{0xFF, 0xFF, 0xFF};
    cls.proc = [this](plat::WindowHandle w, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
        seen_.push_back({w, m, wp, lp});
        if (handler_) {
            if (std::optional<intptr_t> answer = handler_(w, m, wp, lp))
                return *answer;
        }
        return plat::DefaultWindowProc(w, m, wp, lp);
    };
    plat::RegisterWindowClass(cls);
}

std::vector<Seen> Recorder::Of(uint32_t message) const
{
    std::vector<Seen> out;
    for (const Seen& s : seen_) {
        if (s.message == message)
            out.push_back(s);
    }
    return out;
}

std::vector<uint32_t> Recorder::Messages(plat::WindowHandle window) const
{
    std::vector<uint32_t> out;
    for (const Seen& s : seen_) {
        if (s.window == window)
            out.push_back(s.message);
    }
    return out;
}

plat::WindowHandle MakeTopLevel(const std::string& title, plat::Rect client, uint32_t extraStyle,
                                plat::WindowHandle owner, const std::string& className)
{
    plat::WindowParams params;
    params.className = className;
    params.title = title;
    params.style = plat::style::Caption | plat::style::SysMenu | extraStyle;
    params.rect = plat::OuterRectForClient(client, params.style, 0, false);
    params.parent = owner;
    return plat::CreateWindow(params);
}

plat::WindowHandle MakeChild(plat::WindowHandle parent, plat::Rect rect, const std::string& className)
{
    plat::WindowParams params;
    params.className = className;
    params.style = plat::style::Child | plat::style::Visible;
    params.rect = rect;
    params.parent = parent;
    return plat::CreateWindow(params);
}

int PumpAll()
{
    int n = 0;
    plat::PlatMessage m;
    while (plat::PeekWindowMessage(m) && n < 10000) {
        plat::DispatchWindowMessage(m);
        ++n;
    }
    return n;
}

} // namespace wintest
