#pragma once
// The engine's block codec for 8-bit data: pictures, animation frames and 8-bit sound.
//
// Data is cut into blocks of 64 values. Each block is coded in one of four ways, chosen by a
// 2-bit kind at the start of its code:
//   0  indices into a small local palette, values in the chain code
//   1  the same with values in the prefix code
//   2  a copy of an earlier block (24-bit bit position of that block's kind field)
//   3  a fill with one value, optionally repeated over the following blocks
// The bitstream is read most significant bit first; image headers are little-endian.
//
// Images are decoded into 8x8 tiles of a bitmap, column by column (down first). The codec
// keeps no state of its own: the decoder state (the colour map) belongs to the caller.
//
// Nothing read from the data is trusted: bits past the end of the data read as zeros and end
// the decode, copies may only point at earlier positions, and tiles are clipped to the bitmap.
#include <cstddef>
#include <cstdint>

#include "engine/framework/Rect.h"

namespace BlockCodec {

constexpr int kBlockValues = 64;
constexpr int kTileSize = 8;
// The image header: colour-map offset, two bytes not read here, a 32-bit word not read here,
// the 32-bit value count.
constexpr uint32_t kImageHeaderSize = 12;

// The longest block code: the kind, a full palette selection (63 values of at most 47 bits),
// the pair and 64 chain-coded values of at most 255 bits each. A reader that gathers this
// many bytes (and one more for a start inside a byte) always holds a whole block.
constexpr uint32_t kMaxBlockBits = 2 + 2 + 6 + 6 + 63 * 47 + 6 + 64 * 255;
constexpr uint32_t kMaxBlockBytes = (kMaxBlockBits + 7) / 8 + 1;

enum class Status : uint8_t {
    Ok,
    Truncated, // the bitstream ended inside a block, or before every block was read
    BadHeader, // the image header or its colour map does not fit the data
    BadCopy,   // a copy block points at its own position or after it, or its chain is too long
    BadTarget, // the bitmap description is unusable (a row pitch smaller than the width)
};
const char* StatusText(Status status);

// The coded bits: a byte range read most significant bit first. Bits past the end read as 0.
struct BitSource {
    const uint8_t* data = nullptr;
    uint32_t size = 0; // bytes

    BitSource() = default;
    BitSource(const uint8_t* bytes, size_t count);
    // Bit positions are 32-bit counts, so the range is limited to what they can address.
    static constexpr uint32_t kMaxBytes = 1u << 28;
    uint32_t Bits() const { return size * 8u; }
};

// Decoder state: the colour map and the width of the palette-selection field (2 for images
// with a colour map, 0 when every palette block uses the whole map).
struct DecoderState {
    uint16_t mapCount = 256; // 1..256
    uint8_t selectionWidth = 0;
    uint8_t map[256] = {};

    // The state an image without a colour map decodes with: the identity map.
    static DecoderState Identity();
};

// The bits at a position as an unsigned number, n from 0 to 25.
uint32_t ReadBits(const BitSource& bits, uint32_t pos, int n);

// Number readers; each fills out[0..count) and returns the position after what it read.
// Results are taken modulo 256. `max` is the largest value the caller expects.
uint32_t ReadValues(const BitSource& bits, uint32_t pos, int a, int count, uint8_t* out);
uint32_t ReadChainValues(const BitSource& bits, uint32_t pos, int a, int b, int max, int count, uint8_t* out);
uint32_t ReadPrefixValues(const BitSource& bits, uint32_t pos, int a, int b, int max, int count,
                          uint8_t* out);

// The outcome of decoding one block code.
struct BlockCode {
    uint32_t next = 0;   // bit position after the code
    uint16_t repeat = 0; // extra copies of a fill block (0 unless kind 3 carries a count)
    uint8_t kind = 0;    // 0..3 as coded (a copy reports 2 whatever it copied)
    Status status = Status::Ok;
};

// Decodes the block whose kind field is at `pos` into 64 bytes, row by row.
BlockCode DecodeBlock(const DecoderState& state, const BitSource& bits, uint32_t pos, uint8_t* out);

// Receives decoded blocks one after the other. A bitmap (or any other destination) plugs in
// by deriving from it.
class BlockWriter {
public:
    virtual ~BlockWriter() = default;
    // The next block, 64 bytes row by row.
    virtual void Write(const uint8_t* block) = 0;
    // The next block is left as it is (masked decoding of a zero fill).
    virtual void Skip() = 0;
    // True when no block is wanted any more; the decoder stops there whatever the header says.
    virtual bool Full() const = 0;
};

// Places blocks as 8x8 tiles into an 8-bit bitmap, filling the first 8-pixel column from top
// to bottom, then the next. A height of 0 or less describes a bottom-up bitmap of that many
// rows: the top row is the last row in memory. Tiles are clipped at the width and height.
class TileWriter : public BlockWriter {
public:
    TileWriter(uint8_t* pixels, int16_t width, int16_t height, int32_t bytesPerRow);
    // An image of its own size placed at the bitmap's top-left corner: the tiles follow the
    // image's columns and rows, and whatever falls outside the bitmap is not written. A frame
    // larger than the bitmap it is decoded into thus stays inside it.
    TileWriter(uint8_t* pixels, int16_t width, int16_t height, int32_t bytesPerRow, int16_t imageWidth,
               int16_t imageHeight);

    void Write(const uint8_t* block) override;
    void Skip() override;
    bool Full() const override { return tileX_ >= imageWidth_; }

    // Whether the description can be written without leaving the rows.
    bool Valid() const;
    // The tiles written so far: least tile y and x, greatest tile y and x + 8. Starts as
    // (30000, 30000, 0, 0), which is what an image that writes nothing reports.
    int16_t Top() const { return top_; }
    int16_t Left() const { return left_; }
    int16_t Bottom() const { return bottom_; }
    int16_t Right() const { return right_; }

private:
    uint8_t* Row(int y) const;
    void Advance();

    uint8_t* pixels_;
    int width_;
    int height_; // rows, always positive
    int imageWidth_;
    int imageHeight_;
    int32_t bytesPerRow_;
    bool bottomUp_;
    int tileX_ = 0;
    int tileY_ = 0;
    int16_t top_ = 30000;
    int16_t left_ = 30000;
    int16_t bottom_ = 0;
    int16_t right_ = 0;
};

// Decodes every block of an image and hands each to the writer. A fill block with a repeat
// count is handed over once more per repeat.
Status DecodeImage(const uint8_t* image, size_t size, BlockWriter& writer);
// The same, except that a fill block of value 0 is skipped (nothing is drawn for it).
Status DecodeImageMasked(const uint8_t* image, size_t size, BlockWriter& writer);

// Decodes an image into an 8-bit bitmap (see TileWriter for the height's sign).
Status DecodeToBitmap(const uint8_t* image, size_t size, int16_t width, int16_t height, uint8_t* pixels,
                      int32_t bytesPerRow);
// The masked decode; `bounds` receives the rectangle of the tiles written (30000, 30000, 0, 0
// when none was).
Status DecodeToBitmapMasked(const uint8_t* image, size_t size, int16_t width, int16_t height, uint8_t* pixels,
                            int32_t bytesPerRow, CRect& bounds);

} // namespace BlockCodec
