#pragma once
// The game's image element and its template. CGameImageWnd is the engine's image element with
// a stricter hit test: besides the rectangle, the pixel under the point must belong to the
// picture (the image set's own point test), so a click on a transparent pixel falls through
// to what lies below. CTGameImageWnd is a copy of an engine image template that builds such
// an element from the picture "imgid", read directly from the libraries.
#include <cstdint>

#include "engine/controls/ImageWnd.h"

class CGameImageWnd : public CImageWnd {
public:
    using CImageWnd::CImageWnd;

    bool HitTest(const CPoint& point) override;
};

// The image-element hit test, then the image set's point test for the element's current image
// at the point taken relative to the element's top-left corner. Shared by the game's image and
// sequence elements.
bool HitsDrawnPixel(CImageWnd& element, const CPoint& point);

class CTGameImageWnd : public CTImageWnd {
public:
    // Copies every field of the engine template.
    explicit CTGameImageWnd(const CTImageWnd& source) : CTImageWnd(source) {}

    // A CGameImageWnd at the template's top-left corner over the picture "imgid" (a missing
    // one gives an element without images), which it owns. A transparent template draws the
    // picture with colour 0 left out, as the engine's image template does.
    CGameImageWnd* Create() const;
};
