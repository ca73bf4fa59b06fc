#pragma once
// CTWind: the template of a window (kind 0x31): after "ID" the values "parentid" (long), "Y"
// and "X" (shorts: the window's position; -1, -1 for none) and "flags" (long, the window
// flags).
#include <cstdint>
#include <optional>

#include "engine/controls/TObj.h"
#include "engine/framework/Point.h"

class CTWind : public CTObj {
public:
    static constexpr int32_t kKind = 0x31;

    CTWind(int32_t kind, CRawParser* parser);
    CTWind(const CTWind&) = default;

    bool IsFrameTemplate() const override { return true; }
    bool IsWindowTemplate() const override { return true; }

    int32_t GetParentId() const { return parentId_; }
    // Null when the template gives no position.
    std::optional<CPoint> GetPosition() const { return position_; }
    uint32_t GetFlags() const { return flags_; }

    // The registrar's template factory.
    static CTObj* Read(int32_t kind, CRawParser* parser);

private:
    int32_t parentId_ = 0;
    std::optional<CPoint> position_;
    uint32_t flags_ = 0;
};
