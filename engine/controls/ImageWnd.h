#pragma once
// CImageWnd: the window element that shows one image of an image set at a reference point.
// Each axis is placed by its placement mode: 1 centred on the reference coordinate, 2 ending
// at it, any other value starting at it. Without an image set it measures 20 x 20 and draws
// the missing-image mark. A transparent element (flag 0x2) hit-tests through the image set,
// so that the transparent pixels of its image are no hit.
//
// Its template (kind 5) reads "imgid", "imglibmsk" and "frmindex" after the frame values; the
// reference point is ("left", "top"), the horizontal mode the template's "bottom" value and
// the vertical mode its "right" value. The picture is a "CBM" loaded through the template's
// list; template flag 0x400 makes a missing one fatal.
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"

class CImgSet;

class CImageWnd : public CFrame {
public:
    static constexpr uint32_t kKind = 6;
    static constexpr int32_t kTemplateKind = 5;
    // The size of an element without an image.
    static constexpr int16_t kMissingSize = 20;

    // Shows the set's current image; with `owns` the element deletes the set.
    CImageWnd(int32_t id, const CPoint& reference, CImgSet* images, int32_t hMode, int32_t vMode, bool owns);
    // No image set yet.
    CImageWnd(int32_t id, const CPoint& reference, int32_t hMode, int32_t vMode);
    ~CImageWnd() override;

    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    bool HitTest(const CPoint& point) override;
    // Slot 31: SetImages (set, owned).
    virtual CImgSet* SetImages(CImgSet* images) { return SetImages(images, true); }
    // Slot 32: the set replaces the old one and the element takes the size of its current
    // image. Answers the old set when the element did not own it (the caller's again), else
    // null; a null set changes nothing.
    virtual CImgSet* SetImages(CImgSet* images, bool owned);

    // Shows image n: the element takes its size (keeping its top-left corner) and is redrawn.
    void SetFrame(int16_t n);
    // Places the element again around the reference coordinate its old mode implies.
    void SetHMode(int32_t mode);
    void SetVMode(int32_t mode);

    int16_t GetFrame() const { return frame_; }
    CImgSet* GetImages() const { return images_; }
    bool OwnsImages() const { return owns_; }
    int32_t GetHMode() const { return hMode_; }
    int32_t GetVMode() const { return vMode_; }

    // The registrar's factories of kind 5.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // The size of image n, or 20 x 20 without an image set.
    CPoint ImageSize(int16_t n) const;
    void Place(const CPoint& reference);

    bool owns_ = true;
    int16_t frame_ = 0;
    CImgSet* images_ = nullptr;
    int32_t hMode_;
    int32_t vMode_;
};

// The template of an image window.
class CTImageWnd : public CTFrame {
public:
    CTImageWnd(int32_t kind, CRawParser* parser);

    int32_t GetImageId() const { return imageId_; }
    uint32_t GetImageLibMask() const { return imageLibMask_; }
    int16_t GetFrameIndex() const { return frameIndex_; }

private:
    int32_t imageId_ = 0;
    uint32_t imageLibMask_ = 0;
    int16_t frameIndex_ = 0;
};
