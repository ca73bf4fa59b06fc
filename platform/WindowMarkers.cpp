// Window markers: every titled top-level window holds a named lock "window\CLASS\TITLE", so
// that another program (a second copy of a program above all) can tell that such a window
// exists. A lock is taken without waiting; when another program holds it already, this
// window simply goes without one.
#include <map>
#include <memory>

#include "platform/Files.h"
#include "platform/NamedLock.h"
#include "platform/Window.h"
#include "platform/WindowInternal.h"

namespace plat {
using detail::Find;
using detail::WindowRecord;

namespace {

struct Marker {
    std::unique_ptr<NamedLock> lock; // held by this program, or null
    int windows = 0;                 // windows of this program that share the name
};

std::map<std::string, Marker> g_markers;
std::map<WindowHandle, std::string> g_markedWindows;

// Class names are compared without regard to case, so the marker names the class in capitals.
std::string MarkerName(std::string_view className, std::string_view title)
{
    std::string name = "window\\";
    for (char c : className)
        name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return name + "\\" + std::string(title);
}

void Unmark(WindowHandle window)
{
    auto marked = g_markedWindows.find(window);
    if (marked == g_markedWindows.end())
        return;
    auto marker = g_markers.find(marked->second);
    if (marker != g_markers.end() && --marker->second.windows == 0)
        g_markers.erase(marker);
    g_markedWindows.erase(marked);
}

} // namespace

void detail::UpdateWindowMarker(const WindowRecord& w)
{
    Unmark(w.handle);
    if (w.IsChild() || w.title.empty())
        return;
    const std::string name = MarkerName(w.cls->cls.name, w.title);
    Marker& marker = g_markers[name];
    if (marker.windows++ == 0) {
        marker.lock = NamedLock::Create(name);
        if (marker.lock && !marker.lock->TryAcquire())
            marker.lock.reset();
    }
    g_markedWindows[w.handle] = name;
}

void detail::DropWindowMarker(WindowHandle window) { Unmark(window); }

void detail::ResetWindowMarkers()
{
    g_markedWindows.clear();
    g_markers.clear();
}

FoundWindow FindWindow(std::string_view className, std::string_view title)
{
    const std::vector<WindowHandle> order = GetTopLevelWindows();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const WindowRecord* w = Find(*it);
        if (w && w->title == title && NamesEqualNoCase(w->cls->cls.name, className))
            return {*it, false};
    }
    // Not ours: another program holds the marker when we cannot take it.
    std::unique_ptr<NamedLock> probe = NamedLock::Create(MarkerName(className, title));
    if (!probe || probe->TryAcquire())
        return {};
    return {0, true};
}

} // namespace plat
