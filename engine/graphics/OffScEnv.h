#pragma once
// COffScEnv: a drawing environment over a bitmap it owns, where screens are composed. The
// drawing context's primitives and the engine's byte-level copies write the same pixels.
// Bitmaps drawn into it go through a drawing callback (by default the opaque copy); BlitTo
// hands the composed picture to another environment, such as a window's.
#include <memory>

#include "engine/graphics/DrawEnv.h"

class COffScEnv : public CDrawEnv {
public:
    COffScEnv() = default;
    ~COffScEnv() override;

    // Makes the bitmap of the rectangle's size (with align, its rows rounded up to 8 pixels),
    // filled with 255, and sets up the environment over it with the palette.
    void Init(const CRect& rect, CPalette* palette, bool align);
    // Draws the bitmap's source rectangle through the record's callback at the destination's
    // top-left corner, or through the drawing context's copy when the callback is null.
    // Without a record the default record (the opaque copy) is used.
    void BlitDib(CDibSect* bitmap, const CRect& src, const CRect& dest, const CRect* clip,
                 DrawRecord* record) override;
    // Hands the bitmap to the destination environment's BlitDib.
    virtual void BlitTo(CDrawEnv* dest, const CRect& src, const CRect& destRect, const CRect* clip,
                        DrawRecord* record);
    CDibSect* GetBitmap() override { return bitmap_.get(); }
    DrawRecord& GetDefaultRecord() { return defaultRecord_; }

private:
    void Release();

    DrawRecord defaultRecord_{DrawOpaque, {}, 0};
    std::unique_ptr<CDibSect> bitmap_;
    std::unique_ptr<plat::DrawContext> ownDC_; // over the bitmap
};
