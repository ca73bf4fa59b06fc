#include "engine/media/SndStrm.h"

#include <algorithm>
#include <cstring>

#include "engine/framework/Memory.h"
#include "engine/framework/Stream.h"
#include "engine/resources/LibMgr.h"

namespace {

constexpr const char* kType = "CSN";
constexpr int16_t kOverlap = 70;
constexpr int32_t kChunkHead = 6;
constexpr int32_t kScratchBytes = 1024;

int32_t Le32(const uint8_t* p)
{
    return static_cast<int32_t>(p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                                (uint32_t{p[3]} << 24));
}

// Reads bytes of the resource by offset from its start; false when they cannot be read.
class HeaderBytes {
public:
    explicit HeaderBytes(int64_t length) : length_(length) {}
    virtual ~HeaderBytes() = default;
    virtual bool Read(int64_t at, int32_t n, uint8_t* out) = 0;
    int64_t Length() const { return length_; }

private:
    int64_t length_;
};

class MemoryHeaderBytes : public HeaderBytes {
public:
    MemoryHeaderBytes(const uint8_t* data, uint32_t size) : HeaderBytes(size), data_(data) {}
    bool Read(int64_t at, int32_t n, uint8_t* out) override
    {
        if (at < 0 || n < 0 || at + n > Length())
            return false;
        // An empty sound has no bytes at all (its pointer may be null): copy only what there is.
        if (n > 0)
            std::memcpy(out, data_ + at, static_cast<size_t>(n));
        return true;
    }

private:
    const uint8_t* data_;
};

class FileHeaderBytes : public HeaderBytes {
public:
    FileHeaderBytes(CFile& file, int32_t offset, int32_t length)
        : HeaderBytes(length), file_(file), offset_(offset)
    {
    }
    bool Read(int64_t at, int32_t n, uint8_t* out) override
    {
        if (at < 0 || n < 0 || at + n > Length())
            return false;
        return n == 0 ||
               (file_.Read(out, n, static_cast<int32_t>(offset_ + at)) == 0 && file_.GetTransferred() == n);
    }

private:
    CFile& file_;
    int64_t offset_;
};

struct Header {
    uint8_t format[5] = {}; // channels, bits, rate code, state width, mode
    bool hasFormat = false;
    std::vector<CSndStrm::SeekEntry> seekTable;
    int32_t level = 255;
    int32_t secondValue = 0;
    int32_t dataOffset = 0;
};

// The seek table chunk's body: 2 bytes not used, the count, the entries.
bool ParseSeekTable(const std::vector<uint8_t>& body, int16_t width, Header& h)
{
    if (body.size() < 4)
        return false;
    const int16_t count = static_cast<int16_t>(body[2] | (body[3] << 8));
    const size_t entryBytes = 4 + 4 * static_cast<size_t>(width);
    if (count < 0 || 4 + static_cast<size_t>(count) * entryBytes > body.size())
        return false;
    h.seekTable.assign(static_cast<size_t>(count), {});
    for (size_t i = 0; i < h.seekTable.size(); ++i) {
        const uint8_t* e = body.data() + 4 + i * entryBytes;
        CSndStrm::SeekEntry& entry = h.seekTable[i];
        entry.position = Le32(e);
        // One state word serves the first lane only; the others keep their start state.
        std::memset(entry.state, 0x80, sizeof entry.state);
        std::memcpy(entry.state, e + 4, 4 * static_cast<size_t>(width));
    }
    return true;
}

// Reads the chunks up to and including the one of tag 0.
bool ParseHeader(HeaderBytes& bytes, Header& h)
{
    int64_t pos = 0;
    int16_t width = 4; // a seek table before any format chunk has four words per entry
    for (;;) {
        uint8_t head[kChunkHead];
        if (!bytes.Read(pos, kChunkHead, head))
            return false;
        const uint8_t tag = head[0];
        const int64_t length = static_cast<uint32_t>(Le32(head + 2));
        if (length < kChunkHead || pos + length > bytes.Length())
            return false;
        const int64_t body = pos + kChunkHead;
        const int32_t bodyLength = static_cast<int32_t>(length - kChunkHead);
        if (tag == 1) {
            if (bodyLength < 5 || !bytes.Read(body, 5, h.format))
                return false;
            h.hasFormat = true;
            width = h.format[3] == 1 ? 1 : 4;
        } else if (tag == 2) {
            std::vector<uint8_t> table(static_cast<size_t>(bodyLength));
            if (!bytes.Read(body, bodyLength, table.data()) || !ParseSeekTable(table, width, h))
                return false;
        } else if (tag == 3) {
            uint8_t values[8];
            if (bodyLength < 8 || !bytes.Read(body, 8, values))
                return false;
            h.level = std::clamp(Le32(values), 0, 255);
            h.secondValue = Le32(values + 4);
        }
        pos += length;
        if (tag == 0)
            break;
    }
    h.dataOffset = static_cast<int32_t>(pos);
    return true;
}

int32_t RateFromCode(uint8_t code)
{
    switch (code) {
    case 11: return 11025;
    case 22: return 22050;
    case 44: return 44100;
    default: return 0;
    }
}

// Seek points lie on whole frames inside the sound, in increasing order.
bool UsableSeekTable(const std::vector<CSndStrm::SeekEntry>& table, int32_t length, int32_t frameBytes)
{
    int32_t previous = 0;
    for (const CSndStrm::SeekEntry& e : table) {
        if (e.position < previous || e.position > length || e.position % frameBytes != 0)
            return false;
        previous = e.position;
    }
    return true;
}

} // namespace

CSndStrm::CSndStrm(int32_t id, uint32_t libraryMask) : CSndSource(id, libraryMask)
{
    ResetLanes();
    found_ = GetLibMgr()->HasResource(kType, id, libraryMask);
}

CSndStrm::~CSndStrm() = default;

void CSndStrm::ResetLanes() { std::memset(lanes_, 0x80, sizeof lanes_); }

int32_t CSndStrm::Open(bool fromFile)
{
    decoder_.reset();
    seekTable_.clear();
    skip_ = 0;
    position_ = 0;
    atEnd_ = true;
    ResetLanes();

    Header h;
    std::unique_ptr<CStream> stream;
    if (!fromFile) {
        std::unique_ptr<CMemory> block =
            GetLibMgr()->LoadResource(kType, GetResourceId(), GetLibraryMask(), true);
        if (!block)
            return 0;
        {
            const CMemoryLock lock(block.get());
            MemoryHeaderBytes bytes(lock.Data(), lock.Size());
            if (!lock.Data() || !ParseHeader(bytes, h))
                return 0;
        }
        stream = std::make_unique<CMemStrm>(std::move(block), h.dataOffset, kOverlap);
    } else {
        int32_t offset = 0;
        int32_t length = 0;
        std::unique_ptr<CFile> file =
            GetLibMgr()->OpenResourceFile(kType, GetResourceId(), &offset, &length, GetLibraryMask(), true);
        if (!file)
            return 0;
        FileHeaderBytes bytes(*file, offset, length);
        if (!ParseHeader(bytes, h))
            return 0;
        stream = std::make_unique<CFilStrm>(std::move(file), offset + h.dataOffset, length - h.dataOffset,
                                            kFileBufferSize, kOverlap);
    }

    channels_ = h.format[0];
    bitsPerSample_ = h.format[1];
    sampleRate_ = RateFromCode(h.format[2]);
    stateWidth_ = h.format[3];
    mode_ = h.format[4];
    level_ = h.level;
    secondValue_ = h.secondValue;
    if (!h.hasFormat || (channels_ != 1 && channels_ != 2) || (bitsPerSample_ != 8 && bitsPerSample_ != 16) ||
        sampleRate_ == 0)
        return 0;

    auto decoder = std::make_unique<CDecodeStrm>(std::move(stream));
    const int32_t length = decoder->GetValueCount();
    if (decoder->GetStatus() != CDecodeStrm::kOk || length % FrameBytes() != 0 ||
        !UsableSeekTable(h.seekTable, length, FrameBytes()))
        return 0;
    decoder_ = std::move(decoder);
    seekTable_ = std::move(h.seekTable);
    atEnd_ = false;
    return length;
}

int16_t CSndStrm::Read(uint8_t* buffer, int32_t& count)
{
    if (atEnd_)
        return CDecodeStrm::kEnd;
    if (!decoder_ || !buffer) {
        count = 0;
        return CDecodeStrm::kBadData;
    }
    uint8_t scratch[kScratchBytes];
    while (skip_ > 0) {
        int32_t n = std::min(skip_, kScratchBytes);
        const int16_t status = decoder_->Read(scratch, n);
        Decode(scratch, n);
        skip_ -= n;
        if (status != CDecodeStrm::kOk) {
            count = 0;
            atEnd_ = status == CDecodeStrm::kEnd;
            return status;
        }
    }
    // A part of a frame cannot be decoded: its lanes and byte pairs would come apart.
    count = std::max(count, 0);
    count -= count % FrameBytes();
    const int16_t status = decoder_->Read(buffer, count);
    Decode(buffer, count);
    atEnd_ = status == CDecodeStrm::kEnd;
    return status;
}

int32_t CSndStrm::Seek(int32_t position)
{
    if (!decoder_)
        return 0;
    atEnd_ = false;
    position = std::clamp(position, 0, decoder_->GetValueCount());
    position -= position % FrameBytes();
    // The last seek point at or before the position.
    const auto after = std::upper_bound(seekTable_.begin(), seekTable_.end(), position,
                                        [](int32_t p, const SeekEntry& e) { return p < e.position; });
    int32_t base = 0;
    if (after != seekTable_.begin()) {
        const SeekEntry& point = *(after - 1);
        base = point.position;
        std::memcpy(lanes_, point.state, sizeof lanes_);
    } else {
        ResetLanes();
    }
    skip_ = position - base;
    position_ = base;
    decoder_->SeekTo(base);
    return base + skip_;
}

void CSndStrm::Decode(uint8_t* bytes, int32_t n)
{
    const uint32_t laneCount = static_cast<uint32_t>(FrameBytes());
    uint32_t lane = static_cast<uint32_t>(position_) % laneCount;
    position_ += n;
    if (mode_ >= 1 && mode_ <= 4) {
        for (int32_t i = 0; i < n; ++i) {
            uint8_t* s = lanes_ + 4 * lane;
            // The highest order's accumulator takes the byte, each lower one the next higher.
            s[mode_ - 1] = static_cast<uint8_t>(s[mode_ - 1] + bytes[i] - 128);
            for (int k = mode_ - 2; k >= 0; --k)
                s[k] = static_cast<uint8_t>(s[k] + s[k + 1] - 128);
            bytes[i] = s[0];
            if (++lane == laneCount)
                lane = 0;
        }
    }
    if (bitsPerSample_ == 16)
        for (int32_t i = 0; i + 1 < n; i += 2)
            std::swap(bytes[i], bytes[i + 1]);
}
