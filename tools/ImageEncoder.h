#pragma once
// Writers of the engine's block-coded pictures: single images, and frame strips of them
// ("CBM" pictures whose frames are coded whole, "IMV" image strips whose later frames hold
// only the tiles that change).
//
// An image is cut into 8x8 tiles taken column by column, down first, as the decoder places
// them. A one-colour tile becomes a fill (equal fills in a row one repeated fill), a tile equal
// to an earlier coded tile a copy of it, and any other tile a palette block over the image's
// colour map: either the whole map or a selection of the tile's own colours, whichever is
// shorter. Values are written as plain fixed-width numbers, which both number codes read.
#include <cstdint>
#include <vector>

// A picture: rows top-down, `pitch` bytes apart.
struct PictureView {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
};

// Codes the picture as one block-coded image. With a previous picture of the same size, a
// tile that has not changed is coded as a fill of 0, which the masked decode leaves alone, and
// a changed tile is never coded that way.
std::vector<uint8_t> EncodeBlockImage(const PictureView& picture, const PictureView* previous = nullptr);

struct StripFrame {
    int16_t width = 0;
    int16_t height = 0;
    std::vector<uint8_t> image;
};

// The frame strip: the little-endian frame table, then the images. Throws std::length_error
// when the frames do not fit a strip (more than 32767, or offsets past 32 bits).
std::vector<uint8_t> BuildFrameStrip(const std::vector<StripFrame>& frames);
