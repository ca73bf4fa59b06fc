#pragma once
// CDibSect: the 256-colour device-independent bitmap every screen is composed in. Its pixels
// are one byte each, stored bottom-up (the last image row first) in rows padded to a multiple
// of 4 bytes, in a surface that the drawing contexts can also draw into. The engine writes
// the bytes directly between LockBits and UnlockBits: fills, pixel reads, and the clipped
// opaque, transparent, mirrored and depth-tested copies below, which the three standard
// drawing callbacks wrap.
//
// Coordinates: the bitmap keeps the rectangle its owner gave it; pixel (h, v) is column h of
// image row v (row 0 the top). Every pixel operation clips to the rectangle and to the pixels
// the bitmap really holds.
#include <cstdint>
#include <memory>

#include "engine/framework/Rect.h"
#include "engine/resources/PixelRows.h"
#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace plat {
class DrawContext;
}

// The bitmap header as written for every section.
struct DibHeader {
    int32_t size = 40;
    int32_t width = 0;  // the bytes per row: the section is that many pixels wide
    int32_t height = 0; // rows, positive for a bottom-up bitmap
    int16_t planes = 1;
    int16_t bitCount = 8;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

// The header block: the header and the 256 colours (0-9 and 246-255 the display's fixed
// colours, 10-245 the application's current palette).
struct DibInfo {
    DibHeader header;
    plat::ColorTable colors{};
};

// What the drawing code needs to reach a bitmap: its pixels and the context it is drawn
// through (null until an environment selects it).
struct DibGdiInfo {
    plat::Surface* bitmap = nullptr;
    plat::DrawContext* dc = nullptr;
};

class CDibSect;
struct DrawRecord;

// A drawing callback: draws `source` (a bitmap, or a sprite's resource block) into `dest`
// with its top-left corner at `position`'s; the record carries the callback's parameters.
using DrawProc = void (*)(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);

// A drawing callback together with its parameters, which hold numbers or pointers. The copy
// callbacks read parameter 0 (a CRect*: the source rectangle, null for the whole source),
// 1 (mirror flag), 2 (a CDibSect*: the depth bitmap), 3 (the depth, low byte) and 7 (a CRect*:
// a clip rectangle for the drawing context's copy).
struct DrawRecord {
    DrawProc proc = nullptr;
    intptr_t params[8] = {};
    int16_t param8 = 0;

    void Reset(DrawProc callback)
    {
        *this = DrawRecord{};
        proc = callback;
    }
};

class CDibSect {
public:
    // No pixels yet.
    CDibSect();
    // A bitmap of the rectangle's size whose rows are rounded up to a multiple of 8 pixels.
    // The fill is a colour index; 1 leaves the new pixels as they come (zero).
    CDibSect(const CRect& rect, int16_t bitsPerPixel, uint8_t fill);
    // A bitmap of exactly the rectangle's size.
    CDibSect(const CRect& rect, const CPoint& origin, int16_t bitsPerPixel, uint8_t fill);
    CDibSect(const CDibSect&) = delete;
    CDibSect& operator=(const CDibSect&) = delete;
    virtual ~CDibSect();

    virtual int16_t GetRowBytes() const { return rowBytes_; }
    // The pixels; null when the bitmap has none.
    virtual uint8_t* LockBits();
    virtual void UnlockBits();
    // Makes the pixels for the rectangle. With a sizing rectangle the section takes exactly its
    // size; without one the width is rounded up to a multiple of 8. A width or height of 0 or
    // less, or rows of more than 16382 bytes, make no pixels.
    virtual void Create(const CRect& rect, const CRect* sizing, int16_t bitsPerPixel, uint8_t fill);

    // Makes the pixels again and copies srcRowBytes x height rows of source pixels into them.
    void Recreate(const CRect& rect, const CRect* sizing, int16_t bitsPerPixel, int32_t srcRowBytes,
                  const uint8_t* srcPixels);
    // Becomes a view of the other bitmap's pixels (as locked now); the view frees nothing.
    void ShareBits(const CDibSect& other);

    // On the locked bitmap: every image byte becomes the colour.
    void Fill(uint8_t color);
    // Locks itself; the rectangle is cut to the bitmap.
    void FillRect(const CRect& rect, uint8_t color);
    // On the locked bitmap: every image byte equal to `from` becomes `to`.
    void ReplaceColor(uint8_t from, uint8_t to);
    // Locks itself; the rectangle is cut to the bitmap.
    void ReplaceColorInRect(const CRect& rect, uint8_t from, uint8_t to);
    // The pixel at (h, v); 0 outside the bitmap.
    uint8_t GetPixel(int32_t h, int32_t v);

    const CRect& GetRect() const { return rect_; }
    plat::Surface* GetHandle() const { return section_.get(); }
    const DibInfo* GetInfo() const { return info_.get(); }
    DibGdiInfo GetGdiInfo() const { return {section_.get(), dc_}; }
    plat::DrawContext* GetDC() const { return dc_; }
    void SetDC(plat::DrawContext* dc) { dc_ = dc; }
    bool IsCreated() const { return created_; }
    bool IsBorrowed() const { return borrowed_; }
    int16_t GetBitsPerPixel() const { return bitsPerPixel_; }
    int16_t GetPadRows() const { return padRows_; }
    // 1: rows are stored bottom-up, as in every bitmap the engine makes.
    static constexpr int32_t GetRowDirection() { return 1; }
    // Bytes per row x height.
    int32_t GetImageBytes() const { return rowBytes_ * rect_.GetHeight(); }
    // The rows the pixels hold (the header's height, pad rows included).
    int32_t GetSectionRows() const { return sectionRows_; }
    // The working pixel pointer: set while locked (always on a borrowed view).
    uint8_t* GetBits() const { return bits_; }

    // Byte offset of image row v from the pixel pointer (rows counted from the top).
    int32_t RowOffset(int32_t v) const;
    // The locked image as the decoders and sprite drawers write it (no pixels when unlocked).
    PixelRows GetPixelRows() const;
    // The pixels (h, v) may address: the rectangle cut to the rows and columns held.
    plat::Rect PixelBounds() const;
    // The image rows held: the rectangle's height, but no more than the pixels hold.
    int32_t ImageRows() const;

private:
    void FreeSection();
    bool MakeSection(int32_t width, int32_t rows);

    bool borrowed_ = false;
    uint8_t* bits_ = nullptr;
    std::unique_ptr<DibInfo> info_;
    std::unique_ptr<plat::Surface> section_;
    plat::DrawContext* dc_ = nullptr;
    CRect rect_;
    int16_t bitsPerPixel_ = 0;
    int16_t rowBytes_ = 0;
    int16_t padRows_ = 0;
    int32_t sectionRows_ = 0;
    bool created_ = false;
};

// Bytes per row of a bitmap: ((bits per pixel x width + 31) >> 5) x 4.
int32_t DibRowBytes(int32_t bitsPerPixel, int32_t width);

// How a copy runs once clipped: its size and the byte offsets where it starts in the
// destination, the source (past the row's end when mirrored) and two bitmaps laid out like
// the destination (0 when absent).
struct BlitPlan {
    int16_t width = 0;
    int16_t height = 0;
    int32_t destOffset = 0;
    int32_t srcOffset = 0;
    int32_t extraOffset1 = 0;
    int32_t extraOffset2 = 0;
};

enum : int16_t { kBlitTransparent = 0, kBlitOpaque = 1 };

// Clips the source rectangle to the source bitmap, places it with its top-left at (destH,
// destV) and clips it to the destination. Returns 1 and fills the plan when something is left
// to copy, else 0. The extra bitmaps must be laid out like the destination.
int32_t PlanBlit(BlitPlan& plan, const CDibSect& source, int32_t left, int32_t top, int32_t right,
                 int32_t bottom, const CDibSect& dest, int32_t destH, int32_t destV, const CDibSect* extra1,
                 const CDibSect* extra2, bool mirror);

// Copies the source rectangle of a locked bitmap to (destH, destV) of another, clipped to
// both. kBlitOpaque copies every byte; kBlitTransparent skips colour index 0 and, with a depth
// bitmap, writes only where `depth` is not below the depth bitmap's byte; mirror reverses
// each row.
void BlitDibTransparent(const CDibSect* source, int32_t left, int32_t top, int32_t right, int32_t bottom,
                        CDibSect* dest, int32_t destH, int32_t destV, const CDibSect* depthMap, uint8_t depth,
                        int16_t mode, bool mirror);

// Fills a rectangle of the size (right - left) x (bottom - top) placed at (h, v) of a locked
// bitmap, clipped to it.
void FillRectClipped(uint8_t color, int32_t left, int32_t top, int32_t right, int32_t bottom, CDibSect* dest,
                     int32_t h, int32_t v);

// The three standard drawing callbacks: the source is a CDibSect.
void DrawOpaque(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);
void DrawTransparent(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);
void DrawDepthTested(void* source, CDibSect* dest, const CRect& position, DrawRecord* record);
