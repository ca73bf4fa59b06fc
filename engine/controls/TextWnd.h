#pragma once
// CTextWnd: a titled tool window (window type 4, made from templates of kinds 0x36, title by
// string-list reference, and 0x37, title written in the template) placed relative to its
// parent's client area. It steps aside while the application is paused: hidden and disabled,
// then enabled and shown again when the application resumes.
#include <cstdint>
#include <memory>

#include "engine/controls/Wind.h"

class CStr;
class CTObj;

class CTextWnd : public CWind {
public:
    static constexpr int32_t kKindByReference = 0x36;
    static constexpr int32_t kKindLiteral = 0x37;

    // Creates the native window with the title as its text. With a parent, the position is
    // relative to the parent's client area.
    CTextWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position, CWind* parent,
             uint32_t flags);

    // Slot 45: a shown window is enabled and shown again.
    void Restore() override;
    // Slot 46: a shown window is hidden and disabled (it stays shown to the engine, so that
    // Restore brings it back).
    void OnAppPause() override;

    // The registrar's create function of kinds 0x36 and 0x37: the parent is the window of the
    // template's "parentid", else the active window.
    static CBaseObj* CreateFromTemplate(CTObj* tpl);
};
