#include "game/travel/BmpStrip.h"

#include <cstring>

#include "engine/graphics/DibSect.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameImages.h"

CBmpStrip::~CBmpStrip() { Free(); }

CDibSect* CBmpStrip::Bitmap() const { return image_ ? image_->GetImage(0) : nullptr; }

int16_t CBmpStrip::Load(int32_t id)
{
    if (id != 0)
        imageId_ = id;
    Free();
    // A copy of its own: the strip writes into its pixels.
    image_ = LoadImage("CBMP", 0, imageId_, false, 0);
    CDibSect* bitmap = Bitmap();
    if (!bitmap) {
        image_.reset();
        return Report(kMissing);
    }
    const CRect& r = bitmap->GetRect();
    rows_ = static_cast<uint16_t>(bitmap->ImageRows());
    width_ = static_cast<uint16_t>(r.GetWidth() < 0 ? 0 : r.GetWidth());
    rowOffsets_.resize(rows_);
    for (int32_t y = 0; y < rows_; ++y)
        rowOffsets_[static_cast<size_t>(y)] = bitmap->RowOffset(y);
    CountBytes();
    loaded_ = true;
    blankRow_.assign(width_, 0);
    column_ = row_ = -1;
    return Report(kOk);
}

void CBmpStrip::CountBytes()
{
    counts_.fill(0);
    if (!Lock())
        return;
    for (int32_t y = 0; y < rows_; ++y) {
        const uint8_t* row = RowAt(y);
        for (int32_t x = 0; x < width_; ++x)
            if (counts_[row[x]] < UINT16_MAX) // a large strip would wrap the count to 0
                ++counts_[row[x]];
    }
    Unlock();
}

void CBmpStrip::Unload()
{
    if (lockCount_ > 0) {
        lockCount_ = 1;
        Unlock();
    }
    image_.reset();
    // Nothing may be read from the released picture until it is loaded again.
    loaded_ = false;
}

void CBmpStrip::Free()
{
    Unload();
    rowOffsets_.clear();
    blankRow_.clear();
}

uint8_t* CBmpStrip::Lock()
{
    CDibSect* bitmap = Bitmap();
    if (!bitmap)
        return nullptr;
    if (lockCount_++ == 0)
        base_ = bitmap->LockBits();
    return base_;
}

void CBmpStrip::Unlock()
{
    if (lockCount_ == 0)
        return;
    if (--lockCount_ == 0) {
        if (CDibSect* bitmap = Bitmap())
            bitmap->UnlockBits();
        base_ = nullptr;
    }
}

void CBmpStrip::GetRows(int32_t r, uint8_t** out, int32_t n) const
{
    for (int32_t i = 0; i < n; ++i) {
        const int32_t y = r + i;
        if (!loaded_ || !base_)
            out[i] = nullptr;
        else if (y < 0 || y >= rows_)
            out[i] = const_cast<uint8_t*>(blankRow_.data());
        else
            out[i] = RowAt(y);
    }
}

int16_t CBmpStrip::SetColumn(int32_t i)
{
    if (!loaded_)
        return Report(kNotLoaded);
    if (i < 0 || i >= width_)
        return Report(kOutside);
    prevColumn_ = column_;
    column_ = i;
    return Report(kOk);
}

int16_t CBmpStrip::SetRow(int32_t i)
{
    if (!loaded_)
        return Report(kNotLoaded);
    if (i < 0 || i >= rows_)
        return Report(kOutside);
    prevRow_ = row_;
    row_ = i;
    return Report(kOk);
}

uint16_t CBmpStrip::GetPixelPair(int32_t x, int32_t y)
{
    if (!loaded_) {
        Report(kNotLoaded);
        return 0;
    }
    if (!Inside(x, y)) {
        Report(kOutside);
        return 0;
    }
    Lock();
    const uint8_t* row = RowAt(y);
    // The byte after the last column lies outside the row: it reads 0.
    const uint16_t low = row[x];
    const uint16_t high = x + 1 < width_ ? row[x + 1] : 0;
    Unlock();
    Report(kOk);
    return static_cast<uint16_t>(low | (high << 8));
}

int16_t CBmpStrip::SetPixel(int32_t x, int32_t y, uint8_t value)
{
    if (!loaded_)
        return Report(kNotLoaded);
    if (!Inside(x, y))
        return Report(kOutside);
    Lock();
    RowAt(y)[x] = value;
    Unlock();
    return Report(kOk);
}

int32_t CBmpStrip::CopyRow(int32_t y, uint8_t* out)
{
    if (!loaded_ || y < 0 || y >= rows_ || !out)
        return 0;
    Lock();
    std::memcpy(out, RowAt(y), width_);
    Unlock();
    return width_;
}

int32_t CBmpStrip::CopyRows(int32_t first, uint8_t** out, int32_t n)
{
    if (!loaded_ || !out)
        return 0;
    int32_t copied = 0;
    Lock();
    for (int32_t i = 0; i < n; ++i) {
        const int32_t y = first + i;
        if (y < 0)
            continue;
        if (y >= rows_)
            break;
        if (out[i]) {
            std::memcpy(out[i], RowAt(y), width_);
            ++copied;
        }
    }
    Unlock();
    return copied;
}
