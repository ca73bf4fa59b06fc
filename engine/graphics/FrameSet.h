#pragma once
// CFrameSet: an image strip ("IMV") played as an animation in one 8-bit bitmap of frame 0's
// size. Frame 0 is a whole picture; each later frame writes only the tiles that change, so
// going forward decodes the frames in between and going back replays from frame 0. A later
// frame larger than frame 0 is clipped to the bitmap.
#include <memory>

#include "engine/framework/Memory.h"
#include "engine/framework/Rect.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/RsrcColl.h"
#include "engine/resources/FrameStrip.h"

class CDrawEnv;

class CFrameSet : public CRsrcColl {
public:
    // Takes the resource block over and shows frame 0.
    explicit CFrameSet(std::unique_ptr<CMemory> block);
    ~CFrameSet() override;

    // The one bitmap, whatever the index.
    CDibSect* GetEntry(int16_t index) override;
    CDibSect* GetBitmap() const { return bitmap_.get(); }
    // The size of frame index as the strip records it.
    void GetEntrySize(CPoint& size, int16_t index) override;
    // The bitmap's pixel bytes.
    int32_t GetByteSize() override;

    // The current frame into the rectangle: pixel for pixel, or stretched to it when scaled,
    // through the set's drawing record.
    virtual void Draw(CDrawEnv* env, const CRect& rect, bool scaled);
    // Shows frame i (nothing for an index out of range); false when nothing changed.
    virtual bool GoToFrame(int16_t i);
    // Shows the next frame; false, staying on the last frame, at the end.
    virtual bool NextFrame();

    int16_t GetIndex() const { return current_; }
    // The tiles written by the last frame decoded.
    const CRect& GetUpdateRect() const { return updated_; }
    // The drawing callback for Draw; null (the default) is the environment's own copy.
    void SetDrawProc(DrawProc proc) { record_.Reset(proc); }
    DrawRecord& GetRecord() { return record_; }

private:
    // Decodes frame i over the picture; frame 0 is written whole.
    void DecodeFrame(int16_t i);

    CFrameStrip strip_;
    std::unique_ptr<CDibSect> bitmap_;
    int16_t current_ = 0;
    CRect updated_;
    DrawRecord record_;
};
