#pragma once
// Whether the display under an SDL window has a window manager to carry out a full-screen
// request. On X11 that is a manager announcing itself on the root window; a bare X server
// (such as a virtual frame buffer) has none, and there SDL takes its window for full screen
// while the window keeps its size and place.
struct SDL_Window;

namespace plat {

// False only on an X11 display without a window manager; true on any other display.
bool HasFullscreenWindowManager(SDL_Window* window);

} // namespace plat
