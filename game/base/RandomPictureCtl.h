#pragma once
// CRandomPictureCtl: an image element that, every 200 ticks while it is attached, shows another
// of twelve pictures ("CBM" 4230, 4240 … 4340) chosen at random, never the same twice in a row.
//
// Template kind 0x44: the image element's template ("imgid", "imglibmsk", "frmindex").
#include <cstdint>

#include "engine/controls/ImageWnd.h"

class CRandomPictureCtl : public CImageWnd {
public:
    static constexpr int32_t kTemplateKind = 0x44;
    static constexpr int32_t kFirstPicture = 4230;
    static constexpr int32_t kPictureStep = 10;
    static constexpr int32_t kPictures = 12;
    static constexpr uint32_t kPeriod = 200;

    using CImageWnd::CImageWnd;

    // Joining a first owner starts the timer; leaving, or moving to another owner, stops it.
    void SetOwner(CBaseObj* owner) override;
    // Shows another picture.
    bool OnTimer() override;

    // The picture shown last; 0 before the first.
    int32_t GetShownId() const { return shownId_; }

    // The registrar's factory of kind 0x44 (the reader is CImageWnd's).
    static CBaseObj* Create(CTObj* tpl);

private:
    int32_t shownId_ = 0;
};
