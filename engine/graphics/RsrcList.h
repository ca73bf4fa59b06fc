#pragma once
// CRsrcList: the image set over a resource collection that keeps bitmaps, such as the bitmap
// set of a picture strip; it draws them through a drawing environment.
#include "engine/graphics/ImgSet.h"

class CRsrcList : public CImgSet {
public:
    CRsrcList(CRsrcColl* source, int16_t index) : CImgSet(source, index) {}

    // The current image scaled into the rectangle.
    void DrawInRect(CDrawEnv* env, const CRect& rect) override;
    void DrawAtPoint(CDrawEnv* env, const CPoint& point) override;
    void DrawAtOrigin(CDrawEnv* env) override;
    // Inside the image's rectangle; with one of the transparent callbacks (DrawTransparent,
    // DrawDepthTested) a pixel of colour 0 is outside.
    bool ContainsPoint(const CPoint& point, int16_t index) override;
    // The callback with the current image, the bitmap and the position.
    void Draw(CDibSect* dest, const CRect& position) override;
};
