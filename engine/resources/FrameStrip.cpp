#include "engine/resources/FrameStrip.h"

#include <algorithm>

#include "engine/resources/BlockCodec.h"

namespace {

int16_t Le16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))); }

uint32_t Le32(const uint8_t* p)
{
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

} // namespace

CFrameStrip::CFrameStrip(std::unique_ptr<CMemory> block) { Load(std::move(block)); }

std::unique_ptr<CMemory> CFrameStrip::Load(std::unique_ptr<CMemory> block)
{
    std::unique_ptr<CMemory> old = std::move(block_);
    block_ = std::move(block);
    status_ = block_ ? kOk : kNoBlock;
    CountFrames();
    return old;
}

void CFrameStrip::CountFrames()
{
    count_ = 0;
    if (status_ != kOk)
        return;
    const CMemoryLock locked(block_.get());
    if (!locked.Data() || locked.Size() < kHeaderSize)
        return;
    // Only the records that lie wholly inside the block count.
    const int32_t stored = std::max<int32_t>(Le16(locked.Data()), 0);
    const int32_t fit = static_cast<int32_t>((locked.Size() - kHeaderSize) / kRecordSize);
    count_ = static_cast<int16_t>(std::min(stored, fit));
}

int16_t CFrameStrip::ReadFrame(const uint8_t* data, int32_t i, Frame& frame) const
{
    const uint8_t* record = data + kHeaderSize + static_cast<size_t>(i) * kRecordSize;
    frame.width = Le16(record);
    frame.height = Le16(record + 2);
    frame.offset = Le32(record + 4);
    const uint32_t size = static_cast<uint32_t>(block_->GetSize());
    if (frame.width < 0 || frame.height < 0)
        return kDamaged;
    if (frame.offset > size || size - frame.offset < BlockCodec::kImageHeaderSize)
        return kDamaged;
    return kOk;
}

int16_t CFrameStrip::GetFrameSize(CPoint& size, int32_t i)
{
    size.Set(0, 0);
    if (status_ != kOk)
        return status_;
    if (i < 0 || i >= count_)
        return kOutOfRange;
    const CMemoryLock locked(block_.get());
    if (!locked.Data())
        return kNoBlock;
    Frame frame{};
    const int16_t result = ReadFrame(locked.Data(), i, frame);
    if (result == kOk)
        size.Set(frame.width, frame.height);
    return result;
}

int16_t CFrameStrip::DecodeFrame(const PixelRows& dest, int32_t i, CRect* updated, bool skipZeroFills)
{
    if (updated)
        updated->Set(30000, 30000, 0, 0);
    if (i < 0 || i >= count_)
        return status_ != kOk ? status_ : int16_t{kOutOfRange};
    const CMemoryLock locked(block_.get());
    if (!locked.Data())
        return kNoBlock;
    Frame frame{};
    if (const int16_t result = ReadFrame(locked.Data(), i, frame); result != kOk)
        return result;
    if (!dest.Valid())
        return kOk; // nothing to draw into
    // The writer walks the frame's own tiles and writes only what lies inside the bitmap.
    const auto bitmapWidth = static_cast<int16_t>(std::min<int32_t>(dest.width, INT16_MAX));
    const auto bitmapRows = static_cast<int16_t>(std::min<int32_t>(dest.rows, INT16_MAX));
    BlockCodec::TileWriter writer(dest.pixels, bitmapWidth,
                                  static_cast<int16_t>(dest.bottomUp ? -bitmapRows : bitmapRows),
                                  dest.bytesPerRow, frame.width, frame.height);
    const uint8_t* image = locked.Data() + frame.offset;
    const size_t imageSize = locked.Size() - frame.offset;
    const BlockCodec::Status status = skipZeroFills ? BlockCodec::DecodeImageMasked(image, imageSize, writer)
                                                    : BlockCodec::DecodeImage(image, imageSize, writer);
    if (updated)
        updated->Set(writer.Top(), writer.Left(), writer.Bottom(), writer.Right());
    return status == BlockCodec::Status::Ok ? kOk : kDamaged;
}
