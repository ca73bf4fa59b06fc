#include "engine/controls/anim/Sequence.h"

#include <cstring>

#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcBlock.h"

namespace {

// The entries of `entrySize` bytes that the block holds from byte `at`, at most `stored`
// (a negative count holds none).
int16_t HeldCount(int16_t stored, int32_t size, int32_t at, int32_t entrySize)
{
    if (stored <= 0 || at >= size)
        return 0;
    return static_cast<int16_t>(std::min<int32_t>(stored, (size - at) / entrySize));
}

// A field of an entry copy; 0 when there is no entry.
template <typename Entry> int16_t FieldOf(const std::unique_ptr<Entry>& entry, int16_t Entry::*field)
{
    return entry ? (*entry).*field : 0;
}

} // namespace

CSwappedView::CSwappedView(const char* type, int32_t id, uint32_t libraryMask)
    : block_(GetLibMgr()->LoadResource(type, id, libraryMask, true).release()), owned_(true)
{
}

CSwappedView::~CSwappedView()
{
    if (owned_)
        delete block_;
}

bool CSwappedView::SwapShorts(int32_t at, int32_t count)
{
    if (at < 0 || count < 0 || at + 2 * count > GetSize())
        return false;
    auto* data = static_cast<uint8_t*>(block_->Lock());
    if (!data)
        return false;
    for (int32_t i = 0; i < count; ++i)
        SwapShortTo(data + at + 2 * i, data + at + 2 * i);
    block_->Unlock();
    return true;
}

bool CSwappedView::ReadShorts(int32_t at, int16_t* out, int32_t count) const
{
    // The block is movable: every read locks it and takes the address afresh.
    CMemoryLock lock(block_);
    if (at < 0 || count < 0 || at + 2 * count > static_cast<int32_t>(lock.Size()))
        return false;
    std::memcpy(out, lock.Data() + at, static_cast<size_t>(2 * count));
    return true;
}

CSequence::CSequence(CMemory* block) : CSwappedView(block) { Swap(); }

CSequence::CSequence(int32_t id, uint32_t libraryMask) : CSwappedView("SEQ", id, libraryMask) { Swap(); }

void CSequence::Swap()
{
    int16_t stored = 0;
    if (!SwapShorts(0, 1) || !ReadShorts(0, &stored, 1))
        return;
    // The frame table follows the animations as stored, even when the block is shorter.
    frameTable_ = 2 + kAnimationSize * std::max<int16_t>(stored, 0);
    animationCount_ = HeldCount(stored, GetSize(), 2, kAnimationSize);
    SwapShorts(2, 4 * animationCount_);
    if (!SwapShorts(frameTable_, 1) || !ReadShorts(frameTable_, &stored, 1))
        return;
    frameCount_ = HeldCount(stored, GetSize(), frameTable_ + 2, kFrameSize);
    SwapShorts(frameTable_ + 2, 6 * frameCount_);
}

std::unique_ptr<SeqAnimation> CSequence::GetAnimation(int16_t n) const
{
    int16_t v[4];
    if (n < 0 || n >= animationCount_ || !ReadShorts(2 + kAnimationSize * n, v, 4))
        return nullptr;
    return std::make_unique<SeqAnimation>(SeqAnimation{v[0], v[1], v[2], v[3]});
}

std::unique_ptr<SeqFrame> CSequence::GetFrame(int16_t n) const
{
    int16_t v[6];
    if (n < 0 || n >= frameCount_ || !ReadShorts(frameTable_ + 2 + kFrameSize * n, v, 6))
        return nullptr;
    return std::make_unique<SeqFrame>(SeqFrame{v[0], v[1], v[2], v[3], v[4], v[5]});
}

int16_t CSequence::GetFirstFrame(int16_t n) const
{
    return FieldOf(GetAnimation(n), &SeqAnimation::firstFrame);
}

int16_t CSequence::GetNextAnimation(int16_t n) const
{
    return FieldOf(GetAnimation(n), &SeqAnimation::nextAnimation);
}

int16_t CSequence::GetTicksPerFrame(int16_t n) const
{
    return FieldOf(GetAnimation(n), &SeqAnimation::ticksPerFrame);
}

int16_t CSequence::GetAnimFrameCount(int16_t n) const
{
    return FieldOf(GetAnimation(n), &SeqAnimation::frameCount);
}

int16_t CSequence::GetCel(int16_t n) const { return FieldOf(GetFrame(n), &SeqFrame::cel); }

int16_t CSequence::GetDh(int16_t n) const { return FieldOf(GetFrame(n), &SeqFrame::dh); }

int16_t CSequence::GetDv(int16_t n) const { return FieldOf(GetFrame(n), &SeqFrame::dv); }

int16_t CSequence::GetSound(int16_t n) const { return FieldOf(GetFrame(n), &SeqFrame::sound); }

int16_t CSequence::GetFrameTicks(int16_t n) const { return FieldOf(GetFrame(n), &SeqFrame::ticks); }

CCelTable::CCelTable(CMemory* block) : CSwappedView(block) { Swap(); }

CCelTable::CCelTable(int32_t id, uint32_t libraryMask) : CSwappedView("CEL", id, libraryMask) { Swap(); }

void CCelTable::Swap()
{
    int16_t stored = 0;
    if (!SwapShorts(0, 1) || !ReadShorts(0, &stored, 1))
        return;
    count_ = HeldCount(stored, GetSize(), 2, kEntrySize);
    SwapShorts(2, 2 * count_);
}

std::unique_ptr<CelAnchor> CCelTable::GetEntry(int16_t n) const
{
    int16_t v[2];
    if (n < 0 || n >= count_ || !ReadShorts(2 + kEntrySize * n, v, 2))
        return nullptr;
    return std::make_unique<CelAnchor>(CelAnchor{v[0], v[1]});
}
