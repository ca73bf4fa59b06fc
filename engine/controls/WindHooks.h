#pragma once
// What the windows and frames ask of the cursor manager and the help popup window, which
// live with the screens built on top of them. Each entry is filled by its owner when it is
// created; an empty entry does nothing, so windows work without either.
#include <cstdint>
#include <functional>

class CFrame;

struct WindHooks {
    // Makes the cursor of that id current (finding or loading it) and shows it; nothing when
    // it is current already. Id 0 is the standard arrow, 4-7 the sizing cursors.
    std::function<void(int32_t cursorId, uint32_t libraryMask)> setCursorId;
    // Makes sure the cursor is loaded in the cursor cache.
    std::function<void(int32_t cursorId, uint32_t libraryMask)> findOrLoadCursor;
    // Shows the cursor manager's current cursor again (the window system asks for it).
    std::function<void()> applyCurrentCursor;

    // The help popup: shows the help of the frame (after its delay), hides it, and forgets a
    // frame that is going away.
    std::function<void(CFrame* frame)> showHelpFor;
    std::function<void()> dismissHelp;
    std::function<void(CFrame* frame)> forgetHelpFrame;
};

WindHooks& GetWindHooks();
