#pragma once
// CTopWnd: a top-level application window with a title (window type 1, made from templates of
// kinds 0x32, title by string-list reference, and 0x33, title written in the template). With
// the window-frame switch on (UseMenuBar) it has the caption and frame of its flags, and the
// first one gets the menu bar; with it off it is a plain popup. A top-level window has no
// parent.
#include <cstdint>
#include <memory>

#include "engine/controls/Wind.h"

class CStr;
class CTObj;

class CTopWnd : public CWind {
public:
    static constexpr int32_t kKindByReference = 0x32;
    static constexpr int32_t kKindLiteral = 0x33;

    // Creates the native window, then sets the title. Without a position the window takes
    // the default place (centred).
    CTopWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position, uint32_t flags);
    // The same with the three window options in place of the flag word.
    CTopWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position, const CWindOptions& options);
    // A window of type 1 whose native window is made later; `offScreen` paints it through
    // an off-screen bitmap.
    CTopWnd(CFrame* root, bool offScreen);
    // Takes the menu off the native window first, so the menu outlives it.
    ~CTopWnd() override;

    // The registrar's create function of kinds 0x32 and 0x33.
    static CBaseObj* CreateFromTemplate(CTObj* tpl);
};
