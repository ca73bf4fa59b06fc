#include "engine/graphics/BitmapSet.h"

#include "engine/resources/FrameStrip.h"

CBitmapSet::CBitmapSet(std::unique_ptr<CMemory> block)
{
    CFrameStrip strip(std::move(block));
    count_ = strip.GetFrameCount();
    bitmaps_.resize(static_cast<size_t>(count_));
    for (int16_t i = 0; i < count_; ++i) {
        CPoint size;
        if (strip.GetFrameSize(size, i) != CFrameStrip::kOk) {
            valid_ = false;
            continue;
        }
        auto bitmap = std::make_unique<CDibSect>(CRect(0, 0, size.GetV(), size.GetH()), 8, 0);
        if (!bitmap->IsCreated()) {
            valid_ = false;
            continue;
        }
        bitmap->LockBits();
        strip.DecodeFrame(bitmap->GetPixelRows(), i, nullptr);
        bitmap->UnlockBits();
        bitmaps_[static_cast<size_t>(i)] = std::move(bitmap);
    }
}

CBitmapSet::~CBitmapSet() = default;

CDibSect* CBitmapSet::GetEntry(int16_t index)
{
    return index >= 0 && index < count_ ? bitmaps_[static_cast<size_t>(index)].get() : nullptr;
}

void CBitmapSet::GetEntrySize(CPoint& size, int16_t index)
{
    const CDibSect* bitmap = GetEntry(index);
    size.Set(bitmap ? bitmap->GetRect().GetWidth() : 0, bitmap ? bitmap->GetRect().GetHeight() : 0);
}

int32_t CBitmapSet::GetByteSize()
{
    int32_t bytes = 0;
    for (const auto& bitmap : bitmaps_)
        if (bitmap)
            bytes += bitmap->GetImageBytes();
    return bytes;
}
