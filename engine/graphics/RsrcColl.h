#pragma once
// CRsrcColl: a numbered collection of images that image sets draw from: the bitmaps of a
// picture strip (CBitmapSet), the cels of a sprite (CCelList) or the frames of an image strip
// (CFrameSet). Indices run from 0 to GetCount() - 1.
#include <cstdint>
#include <memory>

#include "engine/framework/Point.h"
#include "engine/graphics/DibSect.h"

class CRsrcColl {
public:
    CRsrcColl() = default;
    CRsrcColl(const CRsrcColl&) = delete;
    CRsrcColl& operator=(const CRsrcColl&) = delete;
    virtual ~CRsrcColl() = default;

    // The bitmap the collection keeps for an entry (owned by the collection); null when it
    // keeps none or the index is out of range.
    virtual CDibSect* GetEntry(int16_t /*index*/) { return nullptr; }
    // (width, height) of an entry as a point (h the width).
    virtual void GetEntrySize(CPoint& size, int16_t index) = 0;
    // A new bitmap of the entry; null when the collection makes none.
    virtual std::unique_ptr<CDibSect> MakeBitmap(int16_t /*index*/) { return nullptr; }
    // The bytes of image data the collection holds (what a cache counts for it).
    virtual int32_t GetByteSize() = 0;

    int16_t GetCount() const { return count_; }
    bool IsValid() const { return valid_; }

protected:
    int16_t count_ = 0;
    bool valid_ = true;
};
