#include "platform/WindowManager.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace plat {

bool HasFullscreenWindowManager(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info))
        return true;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) {
        // A running manager keeps the id of a window of its own on the root window's
        // _NET_SUPPORTING_WM_CHECK; without a manager the property is not there.
        ::Display* display = info.info.x11.display;
        const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
        if (check == None)
            return false;
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                              XA_WINDOW, &type, &format, &count, &after, &data);
        if (data)
            XFree(data);
        return status == Success && type == XA_WINDOW && count == 1;
    }
#endif
    return true;
}

} // namespace plat
