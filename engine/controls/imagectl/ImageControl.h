#pragma once
// What the image-drawn push controls share over their engine-drawn bases (CPushFrame,
// CSwitchFrame, CRadioFrame): an image set, owned, whose images are the control's looks.
//
// CImageControl<Base> sizes the control by image 0 of its set and places it around a reference
// point by its placement modes (1 centred on it, 2 ending at it, any other value starting at it);
// a control without a set measures 20 x 20 from the reference point and shows the missing-image
// mark, its colours swapped while the control is enabled and pressed. Changing a mode keeps the
// reference coordinate the old mode gave. A transparent control (flag 0x2) is hit only on the
// pixels its current image draws. Subclasses say which image the state shows.
//
// CSixImageControl<Base> is the look of switches and radio buttons: six images (off, off
// pressed, off disabled, on, on pressed, on disabled) from a first frame index.
//
// CTImageFields<TBase> adds "imgid" and the image's library mask to a control template and loads
// that picture ("CBM") through the template's list: template flag 0x400 makes a missing picture
// fatal, flag 0x2 draws it with the transparent copy.
#include <cstdint>
#include <memory>
#include <utility>

#include "engine/controls/Frame.h"
#include "engine/controls/Placement.h"
#include "engine/controls/TFrame.h"
#include "engine/framework/Point.h"
#include "engine/framework/Rect.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

// The size of image n of the set.
CPoint ImageSizeOf(CImgSet& images, int16_t n);
// Image n of the set drawn with its top-left corner at the point, clipped to the rectangle.
void DrawImageAt(CImgSet& images, int16_t n, CDrawEnv* env, const CPoint& at, const CRect& clip);
// The image a push button shows: offset 0 up, 1 pressed, 2 disabled (disabled wins) as far as
// its state images reach, from the frame base; an index past the state images becomes the last
// state image, then one past the set its last image.
int16_t ButtonImage(bool enabled, bool pressed, int16_t base, int16_t stateFrames, int16_t count);
// The image a switch shows: off 0-2 and on 3-5 (up, pressed, disabled; disabled wins) from the
// first frame index, at most the set's last image.
int16_t SwitchImage(bool enabled, bool on, bool pressed, int16_t base, int16_t count);
// The "CBM" picture of that id as an image set of its own, loaded through the library manager;
// null when it is missing, a fatal report instead with the report flag.
CImgSet* LoadPictureSet(int32_t id, uint32_t libraryMask, bool report);
// The template's picture through its list, with the transparent copy under template flag 0x2.
std::unique_ptr<CImgSet> LoadTemplatePicture(const CTFrame& tpl, uint32_t libraryMask, int32_t id);

template <class Base> class CImageControl : public Base {
public:
    // The size of a control without images.
    static constexpr int16_t kMissingSize = 20;

    // The base part is made from the arguments after the images and modes.
    template <class... BaseArgs>
    CImageControl(const CPoint& reference, CImgSet* images, int32_t hMode, int32_t vMode, BaseArgs&&... args)
        : Base(std::forward<BaseArgs>(args)...), images_(images), hMode_(hMode), vMode_(vMode)
    {
        this->SetFlags(this->GetFlags() | CFrame::kFlagOwnContent);
        count_ = images ? images->GetCount() : 0;
        if (images)
            this->SetBounds(PlaceAround(reference, ImageSizeOf(*images, 0), hMode, vMode));
        else
            this->SetBounds(PlaceAround(reference, CPoint(kMissingSize, kMissingSize), 0, 0));
    }

    // Slot 11: the image of the state, or the missing-image mark.
    void DrawContent(CDrawEnv* env, const CRect& clip) override
    {
        if (images_)
            DrawImageAt(*images_, ChooseImage(), env, this->GetDrawnRect().TopLeft(), clip);
        else if (env)
            DrawMissingImage(env, &this->GetDrawnRect(), this->IsEnabled() && this->GetState() == 1);
    }
    // Slot 19: the rectangle, and for a transparent control with images the current image's
    // pixels.
    bool HitTest(const CPoint& point) override
    {
        if (!Base::HitTest(point))
            return false;
        if (!images_ || !this->IsTransparent())
            return true;
        return images_->ContainsPoint(point - this->GetDrawnRect().TopLeft(), -1);
    }

    // Hands the set to the caller (no longer owned) and redraws without images.
    CImgSet* DetachImages()
    {
        count_ = 0;
        CImgSet* images = images_.release();
        this->Draw(false);
        return images;
    }
    // Places the control again by the new mode around the reference its old mode gave.
    void SetHAlign(int32_t mode)
    {
        if (mode == hMode_)
            return;
        const CRect bounds = ReplaceH(this->GetBounds(), hMode_, mode);
        hMode_ = mode;
        this->SetBounds(bounds);
    }
    void SetVAlign(int32_t mode)
    {
        if (mode == vMode_)
            return;
        const CRect bounds = ReplaceV(this->GetBounds(), vMode_, mode);
        vMode_ = mode;
        this->SetBounds(bounds);
    }

    CImgSet* GetImages() const { return images_.get(); }
    int16_t GetImageCount() const { return count_; }
    int16_t GetFrameBase() const { return frameBase_; }
    int32_t GetHAlign() const { return hMode_; }
    int32_t GetVAlign() const { return vMode_; }

protected:
    // The index of the image that the control's state shows.
    virtual int16_t ChooseImage() const = 0;
    // Deletes the old set and takes the new one (null allowed) with its count.
    void ReplaceImages(CImgSet* images)
    {
        images_.reset(images);
        count_ = images ? images->GetCount() : 0;
    }
    void SetFrameBase(int16_t base) { frameBase_ = base; }
    bool IsPressed() const { return this->GetState() == 1; }

private:
    std::unique_ptr<CImgSet> images_;
    int32_t hMode_;
    int32_t vMode_;
    int16_t frameBase_ = 0;
    int16_t count_ = 0;
};

template <class Base> class CSixImageControl : public CImageControl<Base> {
public:
    using CImageControl<Base>::CImageControl;

    // Slot 47: deletes the old set and takes the new one (null allowed); with a set the control
    // takes image 0's size from its top-left corner. The first frame index becomes 0.
    virtual void SetImages(CImgSet* images)
    {
        this->ReplaceImages(images);
        if (images)
            this->SetSizePt(ImageSizeOf(*images, 0));
        this->SetFrameBase(0);
        this->Draw(false);
    }

protected:
    int16_t ChooseImage() const override
    {
        return SwitchImage(this->IsEnabled(), this->IsOn(), this->IsPressed(), this->GetFrameBase(),
                           this->GetImageCount());
    }
};

template <class TBase> class CTImageFields : public TBase {
public:
    CTImageFields(int32_t kind, CRawParser* parser, const char* libraryMaskField) : TBase(kind, parser)
    {
        imageId_ = parser->ReadLong("imgid");
        imageLibMask_ = static_cast<uint32_t>(parser->ReadLong(libraryMaskField));
    }

    int32_t GetImageId() const { return imageId_; }
    uint32_t GetImageLibMask() const { return imageLibMask_; }
    // The control's picture through the template's list.
    std::unique_ptr<CImgSet> LoadImages() const
    {
        return LoadTemplatePicture(*this, imageLibMask_, imageId_);
    }

private:
    int32_t imageId_ = 0;
    uint32_t imageLibMask_ = 0;
};
