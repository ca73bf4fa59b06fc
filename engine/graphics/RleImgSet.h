#pragma once
// CRleImgSet: the image set over the cels of a run-length sprite, drawn by DrawRleCel (index
// 0 transparent, no clip rectangle, not mirrored) unless another sprite callback is set. Before
// each draw the record gets the current index as parameter 0 and the set as parameter 6. It
// draws only into an off-screen environment, through its bitmap.
#include "engine/graphics/CelList.h"
#include "engine/graphics/ImgSet.h"

class CRleImgSet : public CImgSet {
public:
    CRleImgSet(CCelList* cels, int16_t index);

    // The current cel at its own size at the rectangle's top-left corner.
    void DrawInRect(CDrawEnv* env, const CRect& rect) override;
    void DrawAtPoint(CDrawEnv* env, const CPoint& point) override;
    void DrawAtOrigin(CDrawEnv* env) override;
    void Draw(CDibSect* dest, const CRect& position) override;
    // Inside the cel's rectangle; drawn by DrawRleCel, also on a pixel that is not transparent
    // (RleHitTest.cpp).
    bool ContainsPoint(const CPoint& point, int16_t index) override;

    CCelList* GetCelList() const { return static_cast<CCelList*>(GetSource()); }
};
