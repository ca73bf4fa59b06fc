#pragma once
// The text of a widget-control template: written in the template (up to 511 characters), or a
// string-list reference ("strlistid", "strlibmsk", "strindex"). The template kind says which.
#include <cstdint>
#include <memory>

#include "engine/framework/Str.h"

class CRawParser;
class CTFrame;

class CTemplateText {
public:
    // Reads the literal text or the three reference fields, at the parser's place.
    CTemplateText(CRawParser* parser, bool literal);

    // A copy of the literal text, or the entry it refers to; null when there is none.
    std::unique_ptr<CStr> Resolve(const CTFrame& tpl) const;

    int32_t GetStrListId() const { return strListId_; }
    int32_t GetStrIndex() const { return strIndex_; }

private:
    std::unique_ptr<CStr> literal_;
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int32_t strIndex_ = 0;
};
