#include "engine/resources/BlockCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace BlockCodec {

namespace {

// A copy may point at another copy; the chain is followed this many steps at most. Encoders
// point a copy at the block it repeats, so real chains are a step or two long, and the bound
// keeps a hostile stream from making every block walk the whole data.
constexpr int kMaxCopyHops = 1024;

// The 32 bits starting at a byte, big-endian; bytes past the end read as 0.
inline uint32_t Load32(const BitSource& bits, uint32_t byte)
{
    if (byte + 4 <= bits.size) {
        const uint8_t* p = bits.data + byte;
        return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    }
    uint32_t word = 0;
    for (uint32_t i = 0; i < 4; ++i) {
        word <<= 8;
        if (byte + i < bits.size)
            word |= bits.data[byte + i];
    }
    return word;
}

// Sequential reading from a bit position.
struct Reader {
    const BitSource& bits;
    uint32_t pos;

    uint32_t Take(int n)
    {
        const uint32_t v = ReadBits(bits, pos, n);
        pos += static_cast<uint32_t>(n);
        return v;
    }
    // Zero bits at the position, counting at most `limit` (itself at most 32).
    int CountZeros(int limit) const
    {
        if (limit <= 0)
            return 0;
        const uint32_t head = ReadBits(bits, pos, 25);
        int zeros = head ? std::countl_zero(head) - 7 : 25;
        if (zeros == 25 && limit > 25) {
            const uint32_t tail = ReadBits(bits, pos + 25, 7);
            zeros += tail ? std::countl_zero(tail) - 25 : 7;
        }
        return std::min(zeros, limit);
    }
};

uint8_t ReadPrefixValue(Reader& r, int a, int b, int max)
{
    const int h = 1 << (a - 1);
    const int s = a + b - 2;
    // Arithmetic shift of a possibly negative number, as the coder defines it.
    const int k = std::min(((max - h - (h << b)) >> s) + 2, 32);
    const int z = r.CountZeros(k);
    // K zero bits and s + 1 bits of value. This reading comes first: when K is 0 every value
    // has this form (h - 2^s + r, wrapping at 256), or the values from h to max could never
    // be written.
    if (z == k) {
        r.pos += static_cast<uint32_t>(k);
        return static_cast<uint8_t>(h + (k - 1) * (1 << s) + static_cast<int>(r.Take(s + 1)));
    }
    if (z == 0) {
        r.pos += 1;
        return static_cast<uint8_t>(r.Take(a - 1));
    }
    r.pos += static_cast<uint32_t>(z + 1);
    return static_cast<uint8_t>(h + (z - 1) * (1 << s) + static_cast<int>(r.Take(s)));
}

uint8_t ReadChainValue(Reader& r, int a, int b, int max)
{
    const uint32_t allA = (1u << a) - 1;
    const uint32_t allB = (1u << b) - 1;
    uint32_t v = r.Take(a);
    if (v == allA) {
        // `rest` falls by at least 1 per step, so the loop ends after at most `max` steps.
        int rest = max - static_cast<int>(allA);
        uint32_t x;
        do {
            x = r.Take(b);
            v += x;
            rest -= static_cast<int>(allB);
        } while (x == allB && rest > 0);
    }
    return static_cast<uint8_t>(v);
}

// The local palette of a palette block: the whole map, or a selection of map entries.
struct LocalPalette {
    const uint8_t* entries;
    int count;
    uint8_t chosen[256];
};

void SelectPalette(const DecoderState& state, Reader& r, LocalPalette& pal)
{
    pal.entries = state.map;
    pal.count = state.mapCount;
    if (state.selectionWidth == 0)
        return;
    const uint32_t mode = r.Take(state.selectionWidth);
    if (mode == 0)
        return;
    const int n = static_cast<int>(r.Take(6));
    const uint32_t ab = r.Take(6);
    uint8_t values[64];
    r.pos = ReadPrefixValues(r.bits, r.pos, static_cast<int>(ab >> 3) + 1, static_cast<int>(ab & 7) + 1,
                             state.mapCount - 1, n, values);
    std::memset(pal.chosen, 0, sizeof pal.chosen);
    pal.entries = pal.chosen;
    pal.count = 0;
    if (mode == 1) {
        // A running index from -1, each value stepping it by value + 1, wrapping at 256.
        uint8_t index = 255;
        for (int k = 0; k < n; ++k) {
            index = static_cast<uint8_t>(index + values[k] + 1);
            pal.chosen[pal.count++] = state.map[index];
        }
        return;
    }
    // The first value is an index, later ones steps from it; a zero step means the value after
    // it is the next index outright.
    if (n == 0)
        return;
    uint8_t index = values[0];
    pal.chosen[pal.count++] = state.map[index];
    for (int k = 1; k < n; ++k) {
        if (values[k] != 0) {
            index = static_cast<uint8_t>(index + values[k]);
        } else {
            if (++k >= n)
                break;
            index = values[k];
        }
        pal.chosen[pal.count++] = state.map[index];
    }
}

void DecodePaletteBlock(const DecoderState& state, Reader& r, bool chain, uint8_t* out)
{
    LocalPalette pal;
    SelectPalette(state, r, pal);
    const uint32_t ab = r.Take(6);
    const int a = static_cast<int>(ab >> 3) + 1;
    const int b = static_cast<int>(ab & 7) + 1;
    uint8_t values[kBlockValues];
    r.pos = chain ? ReadChainValues(r.bits, r.pos, a, b, pal.count - 1, kBlockValues, values)
                  : ReadPrefixValues(r.bits, r.pos, a, b, pal.count - 1, kBlockValues, values);
    for (int i = 0; i < kBlockValues; ++i)
        out[i] = pal.entries[values[i]];
}

// Decodes a block that is not a copy; returns its repeat count.
uint16_t DecodeOwnBlock(const DecoderState& state, Reader& r, uint32_t kind, uint8_t* out)
{
    if (kind == 3) {
        const uint8_t value = static_cast<uint8_t>(r.Take(8));
        const uint16_t repeat = r.Take(1) ? static_cast<uint16_t>(r.Take(16)) : 0;
        std::memset(out, value, kBlockValues);
        return repeat;
    }
    DecodePaletteBlock(state, r, kind == 0, out);
    return 0;
}

} // namespace

const char* StatusText(Status status)
{
    switch (status) {
    case Status::Ok: return "ok";
    case Status::Truncated: return "the coded data ends too early";
    case Status::BadHeader: return "the image header does not fit the data";
    case Status::BadCopy: return "a copy block does not point at an earlier block";
    case Status::BadTarget: return "the bitmap rows are narrower than its width";
    }
    return "unknown";
}

BitSource::BitSource(const uint8_t* bytes, size_t count)
    : data(bytes), size(static_cast<uint32_t>(std::min<size_t>(count, kMaxBytes)))
{
}

DecoderState DecoderState::Identity()
{
    DecoderState state;
    for (int i = 0; i < 256; ++i)
        state.map[i] = static_cast<uint8_t>(i);
    return state;
}

uint32_t ReadBits(const BitSource& bits, uint32_t pos, int n)
{
    if (n <= 0)
        return 0;
    const uint32_t word = Load32(bits, pos >> 3) << (pos & 7);
    return word >> (32 - n);
}

uint32_t ReadValues(const BitSource& bits, uint32_t pos, int a, int count, uint8_t* out)
{
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<uint8_t>(ReadBits(bits, pos, a));
        pos += static_cast<uint32_t>(a);
    }
    return pos;
}

uint32_t ReadChainValues(const BitSource& bits, uint32_t pos, int a, int b, int max, int count, uint8_t* out)
{
    if (max < (1 << a))
        return ReadValues(bits, pos, a, count, out);
    Reader r{bits, pos};
    for (int i = 0; i < count; ++i)
        out[i] = ReadChainValue(r, a, b, max);
    return r.pos;
}

uint32_t ReadPrefixValues(const BitSource& bits, uint32_t pos, int a, int b, int max, int count, uint8_t* out)
{
    if (max < (1 << a))
        return ReadValues(bits, pos, a, count, out);
    Reader r{bits, pos};
    for (int i = 0; i < count; ++i)
        out[i] = ReadPrefixValue(r, a, b, max);
    return r.pos;
}

BlockCode DecodeBlock(const DecoderState& state, const BitSource& bits, uint32_t pos, uint8_t* out)
{
    BlockCode code;
    Reader r{bits, pos};
    code.kind = static_cast<uint8_t>(r.Take(2));
    if (code.kind != 2) {
        code.repeat = DecodeOwnBlock(state, r, code.kind, out);
        code.next = r.pos;
    } else {
        // Follow the copy (and copies of copies) back to a block with its own code. Every step
        // must go strictly backwards, so the walk cannot loop.
        uint32_t limit = pos;
        uint32_t target = r.Take(24);
        code.next = r.pos;
        if (code.next > bits.Bits()) {
            code.status = Status::Truncated;
            return code;
        }
        int hops = 0;
        for (;;) {
            if (target >= limit || ++hops > kMaxCopyHops) {
                code.status = Status::BadCopy;
                return code;
            }
            Reader t{bits, target};
            const uint32_t kind = t.Take(2);
            if (kind != 2) {
                DecodeOwnBlock(state, t, kind, out); // a copy never repeats
                break;
            }
            limit = target;
            target = t.Take(24);
        }
    }
    if (code.next > bits.Bits())
        code.status = Status::Truncated;
    return code;
}

// ---------------------------------------------------------------------------------------------
// Tiles

TileWriter::TileWriter(uint8_t* pixels, int16_t width, int16_t height, int32_t bytesPerRow)
    : TileWriter(pixels, width, height, bytesPerRow, width,
                 static_cast<int16_t>(height > 0 ? height : -static_cast<int>(height)))
{
}

TileWriter::TileWriter(uint8_t* pixels, int16_t width, int16_t height, int32_t bytesPerRow,
                       int16_t imageWidth, int16_t imageHeight)
    : pixels_(pixels), width_(width), height_(height > 0 ? height : -static_cast<int>(height)),
      imageWidth_(imageWidth), imageHeight_(imageHeight), bytesPerRow_(bytesPerRow), bottomUp_(height <= 0)
{
    if (imageHeight_ <= 0 || !Valid())
        tileX_ = imageWidth_; // nothing is written
}

bool TileWriter::Valid() const
{
    // An empty bitmap is valid and takes nothing.
    return width_ <= 0 || height_ <= 0 || (pixels_ && bytesPerRow_ >= width_);
}

uint8_t* TileWriter::Row(int y) const
{
    const int stored = bottomUp_ ? height_ - 1 - y : y;
    return pixels_ + static_cast<ptrdiff_t>(stored) * bytesPerRow_;
}

void TileWriter::Advance()
{
    tileY_ += kTileSize;
    if (tileY_ >= imageHeight_) {
        tileY_ = 0;
        tileX_ += kTileSize;
    }
}

void TileWriter::Write(const uint8_t* block)
{
    if (Full())
        return;
    const int rows = std::min(kTileSize, height_ - tileY_);
    const int cols = std::min(kTileSize, width_ - tileX_);
    if (rows <= 0 || cols <= 0) { // the tile lies outside the bitmap
        Advance();
        return;
    }
    for (int y = 0; y < rows; ++y) {
        uint8_t* dst = Row(tileY_ + y) + tileX_;
        if (cols == kTileSize)
            std::memcpy(dst, block + y * kTileSize, kTileSize);
        else
            std::memcpy(dst, block + y * kTileSize, static_cast<size_t>(cols));
    }
    top_ = static_cast<int16_t>(std::min<int>(top_, tileY_));
    left_ = static_cast<int16_t>(std::min<int>(left_, tileX_));
    bottom_ = static_cast<int16_t>(std::max<int>(bottom_, tileY_ + kTileSize));
    right_ = static_cast<int16_t>(std::max<int>(right_, tileX_ + kTileSize));
    Advance();
}

void TileWriter::Skip()
{
    if (!Full())
        Advance();
}

// ---------------------------------------------------------------------------------------------
// Images

namespace {

uint32_t Le32(const uint8_t* p)
{
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

struct ImageHeader {
    DecoderState state;
    BitSource bits;
    uint64_t blocks = 0;
};

Status ReadImageHeader(const uint8_t* image, size_t size, ImageHeader& header)
{
    if (!image || size < kImageHeaderSize)
        return Status::BadHeader;
    const int offset = static_cast<int16_t>(image[0] | (image[1] << 8));
    if (offset < static_cast<int>(kImageHeaderSize) || static_cast<size_t>(offset) > size)
        return Status::BadHeader;
    header.state = DecoderState::Identity();
    size_t start = static_cast<size_t>(offset);
    if (image[3] & 1) {
        if (start >= size)
            return Status::BadHeader;
        const size_t entries = size_t{image[start]} + 1;
        if (entries > size - start - 1)
            return Status::BadHeader;
        header.state.mapCount = static_cast<uint16_t>(entries);
        std::memcpy(header.state.map, image + start + 1, entries);
        header.state.selectionWidth = 2;
        start += 1 + entries;
    }
    header.bits = BitSource(image + start, size - start);
    header.blocks = (uint64_t{Le32(image + 8)} + 63) / 64;
    return Status::Ok;
}

Status Decode(const uint8_t* image, size_t size, BlockWriter& writer, bool masked)
{
    ImageHeader header;
    if (const Status s = ReadImageHeader(image, size, header); s != Status::Ok)
        return s;
    uint8_t block[kBlockValues];
    uint32_t pos = 0;
    uint64_t left = header.blocks;
    while (left > 0 && !writer.Full()) {
        if (pos >= header.bits.Bits())
            return Status::Truncated;
        const BlockCode code = DecodeBlock(header.state, header.bits, pos, block);
        if (code.status != Status::Ok)
            return code.status;
        pos = code.next;
        const bool skip = masked && code.kind == 3 && block[0] == 0;
        for (uint32_t n = 0; n <= code.repeat && left > 0 && !writer.Full(); ++n, --left) {
            if (skip)
                writer.Skip();
            else
                writer.Write(block);
        }
    }
    return Status::Ok;
}

} // namespace

Status DecodeImage(const uint8_t* image, size_t size, BlockWriter& writer)
{
    return Decode(image, size, writer, false);
}

Status DecodeImageMasked(const uint8_t* image, size_t size, BlockWriter& writer)
{
    return Decode(image, size, writer, true);
}

Status DecodeToBitmap(const uint8_t* image, size_t size, int16_t width, int16_t height, uint8_t* pixels,
                      int32_t bytesPerRow)
{
    TileWriter writer(pixels, width, height, bytesPerRow);
    if (!writer.Valid())
        return Status::BadTarget;
    return DecodeImage(image, size, writer);
}

Status DecodeToBitmapMasked(const uint8_t* image, size_t size, int16_t width, int16_t height, uint8_t* pixels,
                            int32_t bytesPerRow, CRect& bounds)
{
    TileWriter writer(pixels, width, height, bytesPerRow);
    if (!writer.Valid()) {
        bounds.Set(30000, 30000, 0, 0);
        return Status::BadTarget;
    }
    const Status status = DecodeImageMasked(image, size, writer);
    bounds.Set(writer.Top(), writer.Left(), writer.Bottom(), writer.Right());
    return status;
}

} // namespace BlockCodec
