#pragma once
// CDrawEnv: the one interface engine objects draw through. It keeps the drawing state of one
// device context (a platform drawing context over a surface): pen, brush, colours, font,
// palette and clip, and offers shapes, lines, text and bitmap copies. The off-screen
// environment draws into a CDibSect, the window environment into a window.
//
// Colours are program colour values: with bit 28 set an RGB colour in the low 24 bits (red in
// the low byte) matched in the palette; otherwise 0 black, 255 white and any other value a
// palette index in the low 16 bits.
//
// Coordinates: the environment's bounds' top-left corner is the origin of its drawing
// coordinates. Clip regions are given in device coordinates, as the device context
// counts them (for a window, its client area; for a bitmap, its pixels).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/framework/Rect.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/FontList.h"
#include "engine/graphics/Palette.h"
#include "platform/DrawContext.h"

class CRegion;
class CFontTable;

// Background modes of text.
enum : int16_t { kBkTransparent = 1, kBkOpaque = 2 };

// Text justification, horizontal and vertical.
enum : int16_t { kJustifyStart = 0, kJustifyCenter = 1, kJustifyEnd = 2 };

// Kinds of environment.
enum : int16_t { kEnvNone = 0, kEnvPlain = 1, kEnvWindow = 2, kEnvOffScreen = 3, kEnvPrinter = 7 };

// A font's metrics as text layout uses them.
struct FontInfo {
    int16_t ascent = 0; // ascent less the internal leading: the character height above the baseline
    int16_t descent = 0;
    int16_t leading = 0; // the external leading
    int16_t height = 0;  // ascent + descent: the cell height
};

class CDrawEnv {
public:
    CDrawEnv();
    CDrawEnv(const CDrawEnv&) = delete;
    CDrawEnv& operator=(const CDrawEnv&) = delete;
    virtual ~CDrawEnv();

    // The device context's background mode; kBkTransparent when drawing is not possible.
    virtual int16_t GetBkMode();
    // Asked before every drawing operation; false skips it.
    virtual bool BeginDraw() { return true; }
    virtual void SetBkMode(int16_t mode);
    virtual void EndDraw() {}
    // Clips drawing to the region (device coordinates).
    virtual void SetClipRgn(const CRegion* region);
    // Copies the source rectangle of the bitmap to the destination rectangle: pixel for pixel
    // when both have the same size (limited to the clip rectangle and the record's clip,
    // parameter 7), stretched otherwise.
    virtual void BlitDib(CDibSect* bitmap, const CRect& src, const CRect& dest, const CRect* clip,
                         DrawRecord* record);
    // The whole bitmap into the rectangle, clipped to the bounds.
    virtual void DrawBitmapIn(CDibSect* bitmap, const CRect& dest, DrawRecord* record);
    // The whole bitmap with its top-left corner at the point, clipped to the bounds.
    virtual void DrawBitmapAt(CDibSect* bitmap, const CPoint& at, DrawRecord* record);
    // A new bitmap (the caller's) holding a copy of that area, upright.
    virtual CDibSect* GrabBitmap(const CRect& rect);
    virtual bool IsDrawable() { return true; }
    // The text colour, also the pen colour and the colour FillRect fills with.
    virtual void SetTextColor(int32_t color);
    // The background colour, also the brush colour and the colour EraseRect fills with.
    virtual void SetBkColor(int32_t color);
    virtual void Flush() {}
    // The bitmap the environment draws into; null when it has none.
    virtual CDibSect* GetBitmap() { return nullptr; }

    // Takes a device context (not owned) and the bounds, and selects the palette when given.
    // The drawing context's viewport origin and clip region as they are now define the device
    // coordinates.
    void Setup(plat::DrawContext* dc, const CRect& bounds, CPalette* palette);
    // Puts back the default pen, brush and palette.
    void ReleaseGdiObjects();
    plat::DrawContext* GetHDC() const { return dc_; }

    void SetBrushColor(int32_t color);
    void SetPen(int32_t color, int16_t width);
    void SetPenWidth(int16_t width) { SetPen(penColor_, width); }
    void PenSize(int16_t width) { SetPen(penColor_, width); }
    // Mode 0-7: copy, merge, xor, mask-not, not-copy, merge-not, not-xor, mask.
    void SetTransferMode(int16_t mode);
    void SetPalette(CPalette* palette);
    // Clips drawing to the rectangle (device coordinates).
    void SetClipRect(const CRect& rect);
    // Removes the clip region.
    void RemoveClip();

    // Filled shapes take the text colour, EraseRect the background colour; the pen draws the
    // outline.
    void FillRect(const CRect& rect);
    void FillEllipse(const CRect& rect);
    void EraseRect(const CRect& rect);
    void FrameRect(const CRect& rect);
    void FrameEllipse(const CRect& rect);
    void InvertRect(const CRect& rect);
    void ScrollRect(const CRect& rect, int16_t dh, int16_t dv);
    void MoveTo(const CPoint& p) { MoveTo(p.GetH(), p.GetV()); }
    void MoveTo(int16_t h, int16_t v);
    // A line from the current position; its end point is not drawn.
    void LineTo(const CPoint& p) { LineTo(p.GetH(), p.GetV()); }
    void LineTo(int16_t h, int16_t v);
    void DrawLine(const CPoint& from, const CPoint& to);
    void DrawLine(int16_t v1, int16_t h1, int16_t v2, int16_t h2);
    // A pie slice; angles in degrees clockwise from 12 o'clock. With the split flag a slice
    // crossing 270 degrees is drawn as two.
    void FillArc(const CRect& rect, int16_t startAngle, int16_t arcAngle, bool split);

    // Between drawing coordinates and the screen.
    void LocalToScreen(CPoint& p);
    void LocalToScreen(CRect& r);
    void ScreenToLocal(CPoint& p);
    void ScreenToLocal(CRect& r);
    // A new region (the caller's) of the device's area at the origin, kind kRgnDevice.
    CRegion* GetDeviceRegion();

    // Text (fonts by id from the font table).
    void SetFont(int16_t id);
    void GetFontMetrics(FontInfo& out, int16_t id);
    int32_t GetTextWidth(const CStr& text);
    // The text with bytes from 128 up translated through the current font's character map.
    std::string TranslateText(const char* text, int32_t length);
    void DrawTextAt(const CPoint& p, const char* text, int32_t length, int16_t bkMode);
    // One line of text placed in the rectangle by the justifications.
    void DrawTextAligned(const CRect& rect, const char* text, int32_t length, int16_t hJust, int16_t vJust,
                         int16_t bkMode);
    // Text broken into lines at word breaks to fit the rectangle; '&' underlines the next
    // character ("&&" draws one '&').
    void DrawTextWrapped(const CRect& rect, const char* text, int32_t length, int16_t hJust, int16_t bkMode);

    // The font table, built once for the program.
    static int16_t InitFonts(const FontList* list);
    static plat::FontSpec FontSpecFor(const char* face, int16_t size, int16_t style);
    static plat::FontHandle CreateFontFromSpec(const char* face, int16_t size, int16_t style);
    // Deletes the font table when no environment is left.
    static void DeleteFonts();
    static CFontTable* GetFontTable();
    // Deletes the font table whatever is left (tests).
    static void ResetFonts();
    static int32_t GetInstanceCount() { return instanceCount_; }

    static plat::ColorRef ToColorRef(int32_t color);

    const CRect& GetBounds() const { return bounds_; }
    int16_t GetKind() const { return kind_; }
    CPalette* GetPalette() const { return palette_; }
    int32_t GetPenColor() const { return penColor_; }
    int32_t GetBrushColor() const { return brushColor_; }
    int32_t GetBkColor() const { return backColor_; }
    int32_t GetForeColor() const { return foreColor_; }
    int16_t GetTransferMode() const { return transferMode_; }
    int16_t GetPenWidth() const { return penWidth_; }
    int16_t GetFontId() const { return fontId_; }

protected:
    // Where device coordinates (0, 0) lie on the screen.
    virtual plat::Point GetDCOrigin() { return {}; }
    // Makes the selected palette the display's colours, where the device shows them.
    virtual void RealizePalette() {}
    // Forgets the device context without touching it (its owner is about to destroy it).
    void DetachDC() { dc_ = nullptr; }
    void SetKind(int16_t kind) { kind_ = kind; }

private:
    // Runs a drawing operation between BeginDraw and EndDraw when there is a device context.
    template <typename Draw> void Drawing(Draw&& draw)
    {
        if (!dc_ || !BeginDraw())
            return;
        draw(*dc_);
        EndDraw();
    }
    void ApplyClip(const plat::Region* deviceRegion);
    plat::Rect DeviceArea() const;
    // A filled rectangle or ellipse with a solid brush of the colour, the pen's outline.
    void FillShape(const CRect& rect, int32_t color, bool ellipse);
    plat::FontMetrics CurrentMetrics() const;

    CRect bounds_;
    CPalette* palette_ = nullptr;
    int16_t kind_ = kEnvNone;
    PaletteHandle paletteHandle_ = nullptr;
    plat::DrawContext* dc_ = nullptr;
    // The device context's own origin and clip when it was taken.
    plat::Point deviceOrigin_;
    std::optional<plat::Region> deviceClip_;
    int32_t penColor_ = 0;
    int32_t brushColor_ = 0;
    int32_t backColor_ = 0;
    int32_t foreColor_ = 0;
    int16_t transferMode_ = 0;
    int16_t penWidth_ = 1;
    int16_t penHeight_ = 1;
    int16_t fontId_ = 0;

    static inline int32_t instanceCount_ = 0;
};

// Removes the environment's clip region when it goes out of scope.
class CClipScope {
public:
    CClipScope(CDrawEnv* env, int16_t flag = 0) : env_(env), dc_(env ? env->GetHDC() : nullptr)
    {
        (void)flag;
    }
    CClipScope(const CClipScope&) = delete;
    CClipScope& operator=(const CClipScope&) = delete;
    ~CClipScope()
    {
        if (env_ && dc_ && env_->GetHDC() == dc_)
            env_->RemoveClip();
    }

private:
    CDrawEnv* env_;
    plat::DrawContext* dc_;
};
