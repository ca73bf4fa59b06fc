#pragma once
// CAnimatorWnd: a window element that shows one cel of a sprite image set, mirrored or not,
// placed so that the cel's anchor point lies on the element's reference position. It draws
// through its "animator object", another frame of the same window named by id: the cel is
// clipped to that frame's drawn rectangle, the element runs on that frame's clock, and when
// the frame carries drawing data of its own (a play field's priority mask) the cel is drawn
// by the play-field routine behind it at the element's z. An element whose animator id names
// no object draws in its own rectangle on the game clock.
//
// Its template reads, after the image window's values, "animator id", "z pos" and
// "isflipped" (a TP_BOOLEAN: non-zero mirrors). No kind builds a plain animator element; the
// sequence element (SeqWnd.h) derives from it.
#include <cstdint>

#include "engine/controls/ImageWnd.h"
#include "engine/graphics/DibSect.h"

class CStopwatch;

class CAnimatorWnd : public CImageWnd {
public:
    // Transparent, not flipped; with an image set it shows cel 0 with anchor (0, 0). An
    // animator object given here also gives the element its clock.
    CAnimatorWnd(int32_t id, const CPoint& reference, CFrame* animator, CImgSet* images, bool ownsImages,
                 int32_t animatorId);

    // Slot 1: once owned by a window, looks up the animator object by id under the window's
    // first frame (any kind) when none is known yet.
    void SetOwner(CBaseObj* owner) override;
    // Slot 8: the element has no children.
    void AddChild(CFrame*, bool) override {}
    // Slot 11: the cel, stretched to the element's rectangle by the sprite routine (or the
    // play-field routine when the animator object carries drawing data), clipped to the
    // animator object's drawn rectangle.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // Slot 33: the cel through the play-field routine with the value as its drawing data and
    // no clip rectangle.
    virtual void DrawCelAt(CDrawEnv* env, void* value);
    // Slot 34: shows cel n with its anchor at (h, v) (mirrored to drawn width - h when
    // flipped), keeping the reference position; z becomes the origin's z.
    virtual void SetCel(int16_t n, int16_t h, int16_t v, int16_t z);

    // The drawn copies take the shown cel and mirroring, and the element asks to be drawn.
    void Update();
    // The draw mode of the game's elements (their paint routines draw only in mode 2); the
    // engine's element has none.
    virtual int16_t GetDrawMode() const { return 0; }

    // Takes effect at the next SetCel and drawing.
    void SetFlipped(bool flipped) { flipped_ = flipped; }
    bool IsFlipped() const { return flipped_; }
    int16_t GetCel() const { return cel_; }
    int16_t GetDrawnCel() const { return drawnCel_; }
    bool IsDrawnFlipped() const { return drawnFlipped_; }
    CFrame* GetAnimator() const { return animator_; }
    int32_t GetAnimatorId() const { return animatorId_; }
    // The clock of the animator object; the game clock without one.
    CStopwatch* GetStopwatch() const;
    // The rectangle cels are clipped to: the animator object's drawn rectangle, else the
    // element's own.
    const CRect& GetAnimatorRect() const;

    // The registrar's factories of the animator template (no kind registers them).
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    // The sprites ("RLS") of the template's "imgid" through its template list; null when
    // missing (a fatal report with template flag 0x400).
    static CImgSet* LoadSprites(const CTImageWnd& tpl);
    // Draws the cel through the routine with the record (cel, clip, flip, 0, data, z).
    void DrawCel(CDrawEnv* env, DrawProc proc, const CRect* clip, void* data);

private:
    CFrame* animator_;
    int32_t animatorId_;
    int16_t cel_ = 0;
    int16_t drawnCel_ = 0;
    bool flipped_ = false;
    bool drawnFlipped_ = false;
};

// The template of an animator element.
class CTAnimatorWnd : public CTImageWnd {
public:
    CTAnimatorWnd(int32_t kind, CRawParser* parser);

    // The frame values, then the flip flag and the z position (moved by "z pos").
    void ApplyTo(CFrame* object) override;

    int32_t GetAnimatorId() const { return animatorId_; }
    int16_t GetZPos() const { return zPos_; }
    bool IsFlipped() const { return flipped_; }

private:
    int32_t animatorId_ = 0;
    int16_t zPos_ = 0;
    bool flipped_ = false;
};

// The routine that draws the cels of elements whose animator object carries drawing data:
// the game installs its play-field routine; until then (and after null) the stretched sprite
// routine, which reads the data as its priority mask the same way.
void SetPlayfieldCelProc(DrawProc proc);
DrawProc GetPlayfieldCelProc();
