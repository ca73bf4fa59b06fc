#pragma once
// CStrTpl: the template of a titled window (kinds 0x32 to 0x37, and the game's dialogs): the
// window template's values ("parentid", "Y", "X", "flags"), then either the title written in
// the template (up to 512 bytes) or "strlistid", "strlibmsk" and "strindex", the string-list
// entry that holds it. Top-level, text and dialog windows read the same template.
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/controls/TWind.h"
#include "engine/framework/Point.h"

class CStr;
class CWind;

class CStrTpl : public CTWind {
public:
    static constexpr int16_t kMaxTitle = 512;

    CStrTpl(int32_t kind, CRawParser* parser, bool literal);
    CStrTpl(const CStrTpl& other);
    ~CStrTpl() override;

    // A copy of the literal title, or the string-list entry the template names (resolved
    // through its template list); null when neither gives one.
    std::unique_ptr<CStr> MakeTitle() const;
    // The window whose id is "parentid", else the active window (null when there is none).
    CWind* FindParent() const;

    // The literal title; null when the title is a string-list reference.
    const CStr* GetTitle() const { return title_.get(); }
    int32_t GetStrListId() const { return strListId_; }
    uint32_t GetStrLibMsk() const { return strLibMask_; }
    int32_t GetStrIndex() const { return strIndex_; }

    // The registrar's template readers.
    static CTObj* ReadByReference(int32_t kind, CRawParser* parser);
    static CTObj* ReadLiteral(int32_t kind, CRawParser* parser);

private:
    std::unique_ptr<CStr> title_;
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int32_t strIndex_ = 0;
};

// The templates of top-level and text windows carry the same values.
using CTTopWnd = CStrTpl;
using CTTextWnd = CStrTpl;

// A position given relative to the parent's client area, moved to screen coordinates; the
// position as it is without a parent or a native parent window, none without a position.
std::optional<CPoint> PositionInParent(const CPoint* position, CWind* parent);
// The point the optional holds, or null.
inline const CPoint* PointOrNull(const std::optional<CPoint>& point) { return point ? &*point : nullptr; }
