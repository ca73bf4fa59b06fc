#include "engine/resources/DecodeStrm.h"

#include <algorithm>
#include <cstring>
#include <limits>

using BlockCodec::BitSource;
using BlockCodec::BlockCode;

namespace {

constexpr int32_t kBlock = BlockCodec::kBlockValues;
constexpr int32_t kHeaderSize = 12;
constexpr int32_t kSeekPointSize = 8;
// The source's buffer is taken again once the bit position comes this close to its end, so
// that the usual block, and the stream's own window seams, are crossed without a copy.
constexpr uint32_t kRefillBits = 560;

uint32_t Le32(const uint8_t* p)
{
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

} // namespace

BlockCodec::DecoderState CDecodeStrm::SoundTable()
{
    BlockCodec::DecoderState state;
    state.mapCount = 256;
    state.selectionWidth = 0;
    for (int k = 0; k < 128; ++k) {
        state.map[2 * k] = static_cast<uint8_t>(128 + k);
        state.map[2 * k + 1] = static_cast<uint8_t>(127 - k);
    }
    return state;
}

CDecodeStrm::CDecodeStrm(std::unique_ptr<CStream> source) : source_(std::move(source)), state_(SoundTable())
{
    headerRead_ = ReadHeader();
    if (!headerRead_) {
        valueCount_ = blocksLeft_ = 0;
        if (status_ == kOk)
            status_ = kBadData;
    }
}

CDecodeStrm::~CDecodeStrm() = default;

bool CDecodeStrm::ReadExact(uint8_t* out, int32_t n)
{
    int32_t got = 0;
    while (got < n) {
        const uint8_t* p = nullptr;
        int32_t avail = 0;
        if (const int16_t s = source_->GetBuf(p, avail); s != CStream::kOk) {
            // Running out of bytes inside the header is corrupt data, not the stream's end.
            status_ = s == CStream::kEnd ? kBadData : s;
            return false;
        }
        const int32_t take = std::min(avail, n - got);
        std::memcpy(out + got, p, static_cast<size_t>(take));
        got += take;
        source_->SeekAhead(take);
    }
    return true;
}

bool CDecodeStrm::ReadHeader()
{
    if (!source_)
        return false;
    const int64_t headerAt = source_->Pos();
    uint8_t header[kHeaderSize];
    if (!ReadExact(header, kHeaderSize))
        return false;
    flags_ = header[3];
    endBit_ = Le32(header + 4);
    valueCount_ =
        static_cast<int32_t>(std::min<uint32_t>(Le32(header + 8), std::numeric_limits<int32_t>::max()));
    int64_t headerSize = kHeaderSize;
    if (flags_ & 2) {
        uint8_t count[2];
        if (!ReadExact(count, 2))
            return false;
        const int32_t n = count[0] | (count[1] << 8);
        headerSize += 2 + int64_t{n} * kSeekPointSize;
        // The table is only as long as the stream: a short stream fails before much is held.
        for (int32_t i = 0; i < n; ++i) {
            uint8_t entry[kSeekPointSize];
            if (!ReadExact(entry, kSeekPointSize))
                return false;
            seekTable_.push_back({Le32(entry), Le32(entry + 4)});
        }
    }
    const int64_t start = headerAt + headerSize;
    if (start > source_->GetLength() || source_->Seek(static_cast<int32_t>(start)) != CStream::kOk)
        return false;
    bitstreamStart_ = static_cast<int32_t>(start);
    blocksLeft_ = static_cast<int32_t>((int64_t{valueCount_} + kBlock - 1) / kBlock);
    return true;
}

int16_t CDecodeStrm::Read(uint8_t* buffer, int32_t& count)
{
    const int32_t wanted = buffer ? std::max(count, 0) : 0;
    count = 0;
    while (skip_ > 0 && status_ == kOk) {
        const int32_t got = Decode(scratch_, std::min<int32_t>(skip_, sizeof scratch_));
        skip_ -= got;
        if (got == 0)
            break;
    }
    if (status_ != kOk)
        return status_;
    count = Decode(buffer, wanted);
    if (status_ != kOk)
        return status_;
    return position_ >= valueCount_ ? kEnd : kOk;
}

int32_t CDecodeStrm::Decode(uint8_t* out, int32_t n)
{
    n = std::min(n, valueCount_ - position_);
    if (n <= 0)
        return 0;
    int32_t done = std::min<int32_t>(leftover_, n);
    std::memcpy(out, block_ + kBlock - leftover_, static_cast<size_t>(done));
    leftover_ = static_cast<int16_t>(leftover_ - done);

    const int32_t whole = std::min((n - done) / kBlock, blocksLeft_);
    const int32_t came = DecodeBlocks(out + done, whole);
    done += came * kBlock;
    if (came == whole && n - done > 0 && n - done < kBlock && DecodeBlocks(block_, 1) == 1) {
        const int32_t part = n - done;
        std::memcpy(out + done, block_, static_cast<size_t>(part));
        leftover_ = static_cast<int16_t>(kBlock - part);
        done += part;
    }
    position_ += done;
    return done;
}

bool CDecodeStrm::Refill()
{
    if (bufferReady_) {
        source_->SeekAhead(static_cast<int32_t>(bitPos_ >> 3));
        bitPos_ &= 7;
    }
    bufferReady_ = false;
    const uint8_t* p = nullptr;
    int32_t n = 0;
    if (const int16_t s = source_->GetBuf(p, n); s != CStream::kOk) {
        // Blocks are still due, so an end of the source means the data is cut short.
        status_ = s == CStream::kEnd ? kBadData : s;
        return false;
    }
    buf_ = p;
    bufLen_ = static_cast<uint32_t>(std::min<int32_t>(n, BitSource::kMaxBytes));
    lastBuffer_ = int64_t{source_->Pos()} + n >= source_->GetLength();
    bufferReady_ = true;
    return true;
}

int32_t CDecodeStrm::DecodeBlocks(uint8_t* out, int32_t wanted)
{
    int32_t done = 0;
    while (done < wanted && blocksLeft_ > 0 && status_ == kOk) {
        uint8_t* dst = out + done * kBlock;
        if (repeat_ > 0) {
            std::memset(dst, fill_, kBlock);
            --repeat_;
        } else {
            if (!bufferReady_ || uint64_t{bitPos_} + kRefillBits > uint64_t{bufLen_} * 8) {
                if (!Refill())
                    break;
            }
            BlockCode code = BlockCodec::DecodeBlock(state_, BitSource(buf_, bufLen_), bitPos_, dst);
            if (code.status == BlockCodec::Status::Truncated && !lastBuffer_)
                code = DecodeAcrossBuffers(dst);
            if (code.status != BlockCodec::Status::Ok) {
                status_ = kBadData;
                break;
            }
            bitPos_ = code.next;
            repeat_ = code.repeat;
            fill_ = dst[0];
        }
        ++done;
        --blocksLeft_;
    }
    return done;
}

BlockCode CDecodeStrm::DecodeAcrossBuffers(uint8_t* out)
{
    // A long block runs past the end of the source's buffer: copy the bytes from its first
    // byte on into one piece, decode it there, and move the source behind it.
    source_->SeekAhead(static_cast<int32_t>(bitPos_ >> 3));
    bitPos_ &= 7;
    bufferReady_ = false;
    if (!carry_)
        carry_ = std::make_unique<uint8_t[]>(BlockCodec::kMaxBlockBytes);
    const int32_t base = source_->Pos();
    int32_t have = 0;
    while (have < static_cast<int32_t>(BlockCodec::kMaxBlockBytes)) {
        const uint8_t* p = nullptr;
        int32_t n = 0;
        if (source_->GetBuf(p, n) != CStream::kOk)
            break;
        const int32_t take = std::min<int32_t>(n, BlockCodec::kMaxBlockBytes - have);
        std::memcpy(carry_.get() + have, p, static_cast<size_t>(take));
        have += take;
        source_->SeekAhead(take);
    }
    BlockCode code =
        BlockCodec::DecodeBlock(state_, BitSource(carry_.get(), static_cast<size_t>(have)), bitPos_, out);
    if (code.status == BlockCodec::Status::Ok) {
        source_->Seek(base + static_cast<int32_t>(code.next >> 3));
        code.next &= 7;
    }
    return code;
}

int16_t CDecodeStrm::SeekTo(int32_t position)
{
    if (!headerRead_)
        return status_;
    const int64_t target = std::clamp<int64_t>(int64_t{position} + offset_, 0, valueCount_);
    // The last point not after the target (the first of equals); the stream's start when none.
    const SeekPoint* best = nullptr;
    for (const SeekPoint& sp : seekTable_)
        if (sp.valuePosition <= target && (!best || sp.valuePosition > best->valuePosition))
            best = &sp;
    const SeekPoint from = best ? *best : SeekPoint{};
    const int64_t byte = int64_t{bitstreamStart_} + (from.bitPosition >> 3);
    if (byte > source_->GetLength() || source_->Seek(static_cast<int32_t>(byte)) != CStream::kOk) {
        status_ = kSeekFailed;
        return status_;
    }
    bufferReady_ = false;
    bitPos_ = from.bitPosition & 7;
    repeat_ = 0;
    leftover_ = 0;
    position_ = static_cast<int32_t>(from.valuePosition);
    blocksLeft_ = static_cast<int32_t>((int64_t{valueCount_} - from.valuePosition + kBlock - 1) / kBlock);
    skip_ = static_cast<int32_t>(target - from.valuePosition);
    status_ = kOk;
    return kOk;
}

void CDecodeStrm::FindSeekPointAtOrAfter(int32_t position, int32_t& valuePosition,
                                         uint32_t& bitPosition) const
{
    const int64_t target = int64_t{position} + offset_;
    const SeekPoint* best = nullptr;
    for (const SeekPoint& sp : seekTable_)
        if (sp.valuePosition >= target && (!best || sp.valuePosition <= best->valuePosition))
            best = &sp;
    if (!best) {
        valuePosition = valueCount_ - offset_;
        bitPosition = endBit_;
        return;
    }
    valuePosition = static_cast<int32_t>(std::clamp<int64_t>(int64_t{best->valuePosition} - offset_,
                                                             std::numeric_limits<int32_t>::min(),
                                                             std::numeric_limits<int32_t>::max()));
    bitPosition = best->bitPosition;
}

int16_t CDecodeStrm::GetSourceStatus() { return source_ ? source_->Status() : CStream::kNoData; }

void CDecodeStrm::SetOffset(int32_t n) { offset_ = std::clamp(n, 0, valueCount_); }

void CDecodeStrm::SetEndMark(int32_t n) { endMark_ = std::clamp(n, 0, valueCount_); }
