#pragma once
// CBkImgBtnWnd: an image button whose looks are composed once, when it is made: each image of
// its picture is drawn over the part of a background picture that lies under the button, with
// the picture's colour 0 left transparent. Afterwards it draws its composed images opaque. The
// pressed image (image 1) can place the button's picture at an offset while the background
// stays. Without a background, or when the picture cannot be loaded a second time, the button
// keeps its own picture.
//
// Template kinds 0x14 and 0x15 (which then becomes its window's default button): the image
// button's values, then "bimgid", "bimglibmask" (the background "CBM"), "y in background",
// "x in background" (where the button's corner lies in the background), "y offset" and
// "x offset" (where the picture lies in the pressed image).
#include <cstdint>

#include "engine/controls/imagectl/ImgBtnWnd.h"

class CBkImgBtnWnd : public CImgBtnWnd {
public:
    static constexpr int32_t kTemplateKind = 0x14;
    static constexpr int32_t kKindDefault = 0x15;

    // The button of picture imageId (see CImgBtnWnd), composed over the background set, which
    // stays the caller's. The position in the background is that of the reference point; the
    // placement modes shift it with the button. The offset (h = x, v = y) is optional.
    CBkImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                 int32_t whenToSend, int32_t imageId, CImgSet* background, const CPoint& inBackground,
                 const CPoint* pressedOffset, uint32_t libraryMask, int32_t hMode, int32_t vMode,
                 bool report);

    // The registrar's factories of kinds 0x14 and 0x15.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // Draws the background part and the button's image i into image i of the composed set.
    void Compose(CImgSet& composed, CImgSet& background, const CPoint& origin, const CPoint* pressedOffset);
};

// The template of a background image button.
class CTBkImgBtnWnd : public CTImgBtnWnd {
public:
    CTBkImgBtnWnd(int32_t kind, CRawParser* parser);

    int32_t GetBackgroundId() const { return backgroundId_; }
    uint32_t GetBackgroundLibMask() const { return backgroundLibMask_; }
    // (x in background, y in background), and (x offset, y offset).
    CPoint GetInBackground() const { return inBackground_; }
    CPoint GetOffset() const { return offset_; }

private:
    int32_t backgroundId_ = 0;
    uint32_t backgroundLibMask_ = 0;
    CPoint inBackground_;
    CPoint offset_;
};
