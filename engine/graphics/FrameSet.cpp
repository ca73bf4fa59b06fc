#include "engine/graphics/FrameSet.h"

#include "engine/graphics/DrawEnv.h"

CFrameSet::CFrameSet(std::unique_ptr<CMemory> block) : strip_(std::move(block))
{
    count_ = strip_.GetFrameCount();
    CPoint size;
    strip_.GetFrameSize(size, 0);
    bitmap_ = std::make_unique<CDibSect>(CRect(0, 0, size.GetV(), size.GetH()), 8, 0);
    valid_ = bitmap_->IsCreated();
    DecodeFrame(0);
}

CFrameSet::~CFrameSet() = default;

CDibSect* CFrameSet::GetEntry(int16_t) { return bitmap_.get(); }

void CFrameSet::GetEntrySize(CPoint& size, int16_t index) { strip_.GetFrameSize(size, index); }

int32_t CFrameSet::GetByteSize() { return bitmap_->GetImageBytes(); }

void CFrameSet::DecodeFrame(int16_t i)
{
    if (!bitmap_->LockBits())
        return;
    // Frame 0 is a whole picture: every tile is written, also its fills of 0, so that going
    // back never leaves tiles of a later frame behind.
    strip_.DecodeFrame(bitmap_->GetPixelRows(), i, &updated_, i != 0);
    bitmap_->UnlockBits();
}

bool CFrameSet::GoToFrame(int16_t i)
{
    if (i < 0 || i >= count_ || i == current_)
        return false;
    for (int16_t f = i < current_ ? 0 : static_cast<int16_t>(current_ + 1); f <= i; ++f)
        DecodeFrame(f);
    current_ = i;
    return true;
}

bool CFrameSet::NextFrame()
{
    if (current_ + 1 >= count_)
        return false;
    DecodeFrame(++current_);
    return true;
}

void CFrameSet::Draw(CDrawEnv* env, const CRect& rect, bool scaled)
{
    if (!env)
        return;
    if (scaled)
        env->BlitDib(bitmap_.get(), bitmap_->GetRect(), rect, &rect, &record_);
    else
        env->DrawBitmapIn(bitmap_.get(), rect, &record_);
}
