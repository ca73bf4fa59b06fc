#pragma once
// CImgSet: an image set, a numbered series of images (from a resource collection it owns)
// with a current index and one drawing callback with its parameters, so that the same set can
// be drawn opaque, transparent, depth-tested or as sprites just by changing the callback.
//
// DrawMissingImage marks the place of an image that could not be loaded.
#include <cstdint>
#include <memory>

#include "engine/framework/Point.h"
#include "engine/framework/Rect.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/RsrcColl.h"

class CDrawEnv;

class CImgSet {
public:
    // Takes the source over (it may be null); the callback is DrawOpaque with every
    // parameter 0.
    CImgSet(CRsrcColl* source, int16_t index);
    CImgSet(const CImgSet&) = delete;
    CImgSet& operator=(const CImgSet&) = delete;
    virtual ~CImgSet();

    // The source's bitmap of the image; null when it keeps none.
    virtual CDibSect* GetImage(int16_t index);
    // The current image drawn into the rectangle.
    virtual void DrawInRect(CDrawEnv* env, const CRect& rect) = 0;
    // The current image at its own size with its top-left corner at the point.
    virtual void DrawAtPoint(CDrawEnv* env, const CPoint& point) = 0;
    // The current image at its own size at the origin.
    virtual void DrawAtOrigin(CDrawEnv* env) = 0;
    // True when the point lies in image index (-1: the current image), edges included:
    // 0 <= h <= width and 0 <= v <= height.
    virtual bool ContainsPoint(const CPoint& point, int16_t index);
    // The current image drawn through the callback into a bitmap at the position.
    virtual void Draw(CDibSect* dest, const CRect& position) = 0;

    // Stores the callback and its nine parameters.
    void SetDrawProc(DrawProc proc, intptr_t p0 = 0, intptr_t p1 = 0, intptr_t p2 = 0, intptr_t p3 = 0,
                     intptr_t p4 = 0, intptr_t p5 = 0, intptr_t p6 = 0, intptr_t p7 = 0, int16_t p8 = 0);
    // Without a source any index is stored; with one only 0 <= index < its count.
    void SetIndex(int16_t index);
    int16_t GetIndex() const { return index_; }
    // (0, 0, height, width) of image index (-1: the current image).
    void GetImageRect(CRect& rect, int16_t index);
    int16_t GetCount() const { return source_ ? source_->GetCount() : 0; }
    CRsrcColl* GetSource() const { return source_; }
    DrawRecord& GetRecord() { return record_; }
    DrawProc GetDrawProc() const { return record_.proc; }

protected:
    // Hands the source to the caller: the set no longer deletes it.
    CRsrcColl* TakeSource();
    int16_t ResolveIndex(int16_t index) const { return index == -1 ? index_ : index; }

private:
    CRsrcColl* source_;
    int16_t index_;
    DrawRecord record_;
};

// A filled rectangle crossed by its two diagonals (3 pixels wide): red crossed by blue, or
// blue crossed by red with the swap flag. The environment's colour and pen width are kept.
void DrawMissingImage(CDrawEnv* env, const CRect* rect, bool swap);
