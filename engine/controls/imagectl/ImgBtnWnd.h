#pragma once
// CImgBtnWnd: the push button whose looks are images of a set: from its frame base the up image,
// then the pressed and the disabled one. It behaves as a push control (capture, pressed state,
// notification by "whentosend") and is sized, placed, drawn and hit as an image control. It uses
// as many state images as the set holds, at most three at construction: with one image it shows
// it in every state, with two the disabled button shows the up image.
//
// Template kinds 0x10 and 0x11 (which then becomes its window's default button): the push
// control's values, then "imgid" and "imglibmask"; the reference point is ("left", "top"), the
// horizontal placement mode the template's "bottom" and the vertical one its "right".
#include <cstdint>

#include "engine/controls/imagectl/ImageControl.h"
#include "engine/controls/input/PushFrame.h"

class CImgBtnWnd : public CImageControl<CPushFrame> {
public:
    static constexpr int32_t kTemplateKind = 0x10;
    static constexpr int32_t kKindDefault = 0x11;

    // Takes the set over (null allowed).
    CImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target, int32_t whenToSend,
               CImgSet* images, int16_t frameBase, int32_t hMode, int32_t vMode);
    CImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target, int32_t whenToSend,
               CImgSet* images, int32_t hMode, int32_t vMode);
    // The set of picture ("CBM") imageId; without it the button is 20 x 20, or with the report
    // flag the program ends with a fatal report.
    CImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target, int32_t whenToSend,
               int32_t imageId, uint32_t libraryMask, int32_t hMode, int32_t vMode, bool report);

    // Slot 46: deletes the old set and takes the new one (null allowed); every image of it is
    // a state image. The size stays.
    virtual void SetImages(CImgSet* images);
    // Hands the set to the caller and forgets its images.
    CImgSet* DetachImages();

    int16_t GetStateFrames() const { return stateFrames_; }

    // The registrar's factories of kinds 0x10 and 0x11.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    int16_t ChooseImage() const override;
    // Replaces the set without a redraw, keeping the state images counted at construction.
    void AdoptComposedImages(CImgSet* images) { ReplaceImages(images); }

private:
    int16_t stateFrames_;
};

// The template of an image button.
class CTImgBtnWnd : public CTImageFields<CTPushFrame> {
public:
    CTImgBtnWnd(int32_t kind, CRawParser* parser) : CTImageFields(kind, parser, "imglibmask") {}
};
