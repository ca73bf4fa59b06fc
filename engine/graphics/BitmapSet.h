#pragma once
// CBitmapSet: the frames of a picture strip ("CBM"), each decoded once into an 8-bit bitmap of
// its own size. A frame whose bitmap cannot be made (or whose record is damaged) leaves its
// entry null and the set incomplete; callers may build the set once more.
#include <memory>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/RsrcColl.h"

class CBitmapSet : public CRsrcColl {
public:
    // Takes the resource block over; it is freed once the frames are decoded.
    explicit CBitmapSet(std::unique_ptr<CMemory> block);
    ~CBitmapSet() override;

    CDibSect* GetEntry(int16_t index) override;
    void GetEntrySize(CPoint& size, int16_t index) override;
    // Bytes per row x height summed over the bitmaps.
    int32_t GetByteSize() override;

    bool IsComplete() const { return IsValid(); }
    const std::vector<std::unique_ptr<CDibSect>>& GetBitmaps() const { return bitmaps_; }

private:
    std::vector<std::unique_ptr<CDibSect>> bitmaps_;
};
