#pragma once
// Bitmaps written and read as text, one character a pixel, so that a test shows its pictures:
// '0'-'9' and 'a'-'z' stand for indices 0-35, '.' for 255 (white) and '?' for anything else.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/DibSect.h"

namespace qmtest {

inline char PixelChar(uint8_t v)
{
    if (v < 10)
        return static_cast<char>('0' + v);
    if (v < 36)
        return static_cast<char>('a' + v - 10);
    return v == 255 ? '.' : '?';
}

inline uint8_t PixelValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    if (c >= 'a' && c <= 'z')
        return static_cast<uint8_t>(c - 'a' + 10);
    return 255;
}

// Writes the rows into the bitmap from its top-left pixel.
inline void PaintPixels(CDibSect& bitmap, const std::vector<std::string>& rows)
{
    uint8_t* bits = bitmap.LockBits();
    for (size_t v = 0; v < rows.size(); ++v)
        for (size_t h = 0; h < rows[v].size(); ++h)
            bits[bitmap.RowOffset(static_cast<int32_t>(v)) + static_cast<int32_t>(h)] =
                PixelValue(rows[v][h]);
    bitmap.UnlockBits();
}

// The bitmap's rectangle as rows of text.
inline std::vector<std::string> Pixels(CDibSect& bitmap)
{
    std::vector<std::string> rows;
    const CRect& r = bitmap.GetRect();
    for (int32_t v = r.GetTop(); v < r.GetBottom(); ++v) {
        std::string row;
        for (int32_t h = r.GetLeft(); h < r.GetRight(); ++h)
            row += PixelChar(bitmap.GetPixel(h, v));
        rows.push_back(row);
    }
    return rows;
}

// A bitmap of exactly w x h pixels at the origin, filled with the colour.
inline std::unique_ptr<CDibSect> MakeBitmap(int16_t w, int16_t h, uint8_t fill = 255)
{
    return std::make_unique<CDibSect>(CRect(0, 0, h, w), CPoint(0, 0), 8, fill);
}

inline std::unique_ptr<CDibSect> MakeBitmap(const std::vector<std::string>& rows)
{
    auto bitmap = MakeBitmap(static_cast<int16_t>(rows[0].size()), static_cast<int16_t>(rows.size()));
    PaintPixels(*bitmap, rows);
    return bitmap;
}

} // namespace qmtest
