#pragma once
// Template kind 0x43: a plain text object whose object kind the data chooses ("FRAMETYPE",
// default 0), so that code finds it by (kind, id) like any other object. The template is the
// text template read by string reference ("strlistid", "strlibmsk", "strindex"; a negative
// index takes the whole list) and the text values, then "FRAMETYPE".
#include <cstdint>

#include "engine/controls/TextFrame.h"

class CTFrameType : public CTTextFrame {
public:
    static constexpr int32_t kTemplateKind = 0x43;

    CTFrameType(int32_t kind, CRawParser* parser);

    int32_t GetFrameType() const { return frameType_; }

    // The registrar's factories of kind 0x43: the text object of CTextFrame's create, of the
    // template's kind.
    static CTObj* Read(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    int32_t frameType_ = 0;
};
