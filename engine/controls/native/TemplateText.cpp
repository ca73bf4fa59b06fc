#include "engine/controls/native/TemplateText.h"

#include "engine/controls/input/CaptionFrame.h"
#include "engine/resources/RawParser.h"

namespace {
// A text written in a widget-control template keeps at most 511 characters.
constexpr int16_t kMaxTemplateText = 512;
} // namespace

CTemplateText::CTemplateText(CRawParser* parser, bool literal)
{
    if (literal) {
        literal_ = parser->ReadStr(kMaxTemplateText);
    } else {
        strListId_ = parser->ReadLong("strlistid");
        strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
        strIndex_ = parser->ReadLong("strindex");
    }
}

std::unique_ptr<CStr> CTemplateText::Resolve(const CTFrame& tpl) const
{
    return LabelText(tpl, literal_.get(), strLibMask_, strListId_, strIndex_);
}
