#pragma once
// CBmpStrip: a picture ("CBM") used as rows of bytes, as the river scenes use their river map
// and height map. Rows are addressed from the top through a table of byte offsets (the
// bitmap is stored bottom-up); rows outside the picture read as a blank row of zeros. The
// strip counts how often each byte value occurs (at most 65535), keeps a current and a
// previous row and column, and reports each access with a status.
//
// While it is not loaded (before Load, after Unload or Free) its width and height read 65535
// and its current row and column -1, and no row or pixel is read.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CDibSect;
class CImgSet;

class CBmpStrip {
public:
    enum Status : int16_t { kOk = 0, kMissing = 1, kNotLoaded = 2, kOutside = 3 };
    static constexpr uint16_t kNotLoadedSize = 65535;

    CBmpStrip() = default;
    ~CBmpStrip();
    CBmpStrip(const CBmpStrip&) = delete;
    CBmpStrip& operator=(const CBmpStrip&) = delete;

    // Loads picture `id` (0: the current id again) and builds the row table and the counts.
    int16_t Load(int32_t id);
    // Lets go of the picture and the tables.
    void Free();
    // Lets go of the picture (ending every lock); Reload loads it again.
    void Unload();
    int16_t Reload() { return Load(0); }

    // Nested locks: the first one locks the pixels, the last unlock unlocks them. Answers the
    // locked pixels (null while not loaded).
    uint8_t* Lock();
    void Unlock();

    // The n rows from row r (locked): rows outside the picture are the blank row. Without a
    // loaded, locked picture every row is null.
    void GetRows(int32_t r, uint8_t** out, int32_t n) const;
    int16_t SetColumn(int32_t i);
    int16_t SetRow(int32_t i);
    // The bytes at columns x and x + 1 of row y, little-endian (past the last column: 0).
    uint16_t GetPixelPair(int32_t x, int32_t y);
    uint8_t GetPixelHigh(int32_t x, int32_t y) { return static_cast<uint8_t>(GetPixelPair(x, y) >> 8); }
    int16_t SetPixel(int32_t x, int32_t y, uint8_t value);
    // Copies row y (width bytes); answers the bytes copied.
    int32_t CopyRow(int32_t y, uint8_t* out);
    // Copies up to n rows from the first row into the buffers (out[i] takes row first + i;
    // rows before 0 are skipped); answers the rows copied.
    int32_t CopyRows(int32_t first, uint8_t** out, int32_t n);

    bool IsLoaded() const { return loaded_; }
    int16_t GetStatus() const { return status_; }
    uint16_t GetWidth() const { return loaded_ ? width_ : kNotLoadedSize; }
    uint16_t GetHeight() const { return loaded_ ? rows_ : kNotLoadedSize; }
    int32_t GetColumn() const { return loaded_ ? column_ : -1; }
    int32_t GetPrevColumn() const { return prevColumn_; }
    int32_t GetRow() const { return loaded_ ? row_ : -1; }
    int32_t GetPrevRow() const { return prevRow_; }
    int32_t GetImageId() const { return imageId_; }
    int32_t GetLockCount() const { return lockCount_; }
    // How often the byte value occurs in the picture.
    uint16_t GetCount(uint8_t value) const { return counts_[value]; }

private:
    CDibSect* Bitmap() const;
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && x < width_ && y >= 0 && y < rows_; }
    // The pixel row y of the locked picture.
    uint8_t* RowAt(int32_t y) const { return base_ + rowOffsets_[static_cast<size_t>(y)]; }
    int16_t Report(int16_t status) { return status_ = status; }
    void CountBytes();

    std::unique_ptr<CImgSet> image_;
    int32_t column_ = -1;
    int32_t prevColumn_ = -1;
    int32_t row_ = -1;
    int32_t prevRow_ = -1;
    bool loaded_ = false;
    std::vector<int32_t> rowOffsets_;
    int32_t imageId_ = 0;
    uint16_t rows_ = 0;
    uint16_t width_ = 0;
    int16_t status_ = kNotLoaded;
    int32_t lockCount_ = 0;
    uint8_t* base_ = nullptr;
    std::vector<uint8_t> blankRow_;
    std::array<uint16_t, 256> counts_{};
};
