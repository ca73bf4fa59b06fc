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

// The 64 bits starting at a byte, big-endian; bytes past the end read as 0.
inline uint64_t Load64(const BitSource& bits, uint32_t byte)
{
    if (byte < bits.size && bits.size - byte >= 8) {
        uint64_t word;
        std::memcpy(&word, bits.data + byte, sizeof word);
        if constexpr (std::endian::native == std::endian::little)
            word = __builtin_bswap64(word);
        return word;
    }
    uint64_t word = 0;
    for (uint32_t i = 0; i < 8; ++i) {
        word <<= 8;
        if (byte + i < bits.size)
            word |= bits.data[byte + i];
    }
    return word;
}

// The bits from a position on, the first in the top bit; at least the top 57 are the data's.
inline uint64_t Peek(const BitSource& bits, uint32_t pos) { return Load64(bits, pos >> 3) << (pos & 7); }

// n bits (0 to 57 - skip) of a peeked word, after the first `skip`. Shifting right by one
// and then 63 - n keeps every shift below 64 without a test for n = 0.
inline uint32_t Field(uint64_t word, int skip, int n)
{
    return static_cast<uint32_t>(((word << skip) >> 1) >> (63 - n));
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
};

// The prefix code of one pair (a, b) and largest value: a value is z zero bits (z < k), a one
// and then a - 1 bits (z = 0) or s bits (z > 0); or k zero bits and s + 1 bits.
struct PrefixCode {
    int a, s, h, k;

    PrefixCode(int a_, int b, int max) : a(a_), s(a_ + b - 2), h(1 << (a_ - 1))
    {
        // Arithmetic shift of a possibly negative number, as the coder defines it.
        k = std::min(((max - h - (h << b)) >> s) + 2, 32);
    }

    // One value, read from a single peek: its code is at most k + s + 1 <= 47 bits long. The
    // form is chosen by selection rather than by branches: with real data the forms follow
    // each other at random, and a mispredicted branch costs more than the three forms.
    uint8_t Read(const BitSource& bits, uint32_t& pos) const
    {
        const uint64_t word = Peek(bits, pos);
        const int z = std::min(std::countl_zero(word), std::max(k, 0));
        // The k-zeros form comes first: when k is 0 every value has it (h - 2^s + r, wrapping
        // at 256), or the values from h to max could never be written.
        const bool full = z == k;
        const bool single = z == 0;
        const int skip = full ? k : z + 1;
        const int n = full ? s + 1 : single ? a - 1 : s;
        const int base = full ? h + (k - 1) * (1 << s) : single ? 0 : h + (z - 1) * (1 << s);
        pos += static_cast<uint32_t>(skip + n);
        return static_cast<uint8_t>(base + static_cast<int>(Field(word, skip, n)));
    }
};

// The chain code: a bits; when all are ones, b bits more, again while those are all ones and
// the largest value is not yet passed.
struct ChainCode {
    int a, b, max;
    uint32_t allA, allB;

    ChainCode(int a_, int b_, int max_) : a(a_), b(b_), max(max_), allA((1u << a_) - 1), allB((1u << b_) - 1)
    {
    }

    // One value, from one peek unless its code runs past the 57 bits a peek holds.
    uint8_t Read(const BitSource& bits, uint32_t& pos) const
    {
        uint64_t word = Peek(bits, pos);
        uint32_t v = Field(word, 0, a);
        int used = a;
        if (v == allA) {
            // `rest` falls by at least 1 per step, so the loop ends after at most `max` steps.
            int rest = max - static_cast<int>(allA);
            uint32_t x;
            do {
                if (used + b > 57) {
                    pos += static_cast<uint32_t>(used);
                    word = Peek(bits, pos);
                    used = 0;
                }
                x = Field(word, used, b);
                used += b;
                v += x;
                rest -= static_cast<int>(allB);
            } while (x == allB && rest > 0);
        }
        pos += static_cast<uint32_t>(used);
        return static_cast<uint8_t>(v);
    }
};

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

uint32_t ReadBits(const BitSource& bits, uint32_t pos, int n) { return Field(Peek(bits, pos), 0, n); }

// The readers copy the source into a local: the values they store are bytes, which may alias
// anything, so members reached through a reference would be read again after every store.
uint32_t ReadValues(const BitSource& bits, uint32_t pos, int a, int count, uint8_t* out)
{
    const BitSource source = bits;
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<uint8_t>(ReadBits(source, pos, a));
        pos += static_cast<uint32_t>(a);
    }
    return pos;
}

uint32_t ReadChainValues(const BitSource& bits, uint32_t pos, int a, int b, int max, int count, uint8_t* out)
{
    if (max < (1 << a))
        return ReadValues(bits, pos, a, count, out);
    const BitSource source = bits;
    const ChainCode code(a, b, max);
    for (int i = 0; i < count; ++i)
        out[i] = code.Read(source, pos);
    return pos;
}

uint32_t ReadPrefixValues(const BitSource& bits, uint32_t pos, int a, int b, int max, int count, uint8_t* out)
{
    if (max < (1 << a))
        return ReadValues(bits, pos, a, count, out);
    const BitSource source = bits;
    const PrefixCode code(a, b, max);
    for (int i = 0; i < count; ++i)
        out[i] = code.Read(source, pos);
    return pos;
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
