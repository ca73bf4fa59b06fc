#pragma once
// 8-bit indexed PNG pictures for the image tool: every pixel is a palette index, as the
// engine's bitmaps and sprites hold them.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct PngColor {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const PngColor&) const = default;
};

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;   // rows top-down, exactly `width` bytes each
    std::vector<PngColor> palette; // the PNG's palette (empty for a greyscale picture)
};

// Reads a palette PNG of any bit depth, or an 8-bit greyscale PNG whose values are taken as
// indices. Throws std::runtime_error naming the file when it cannot.
IndexedImage ReadIndexedPng(const std::filesystem::path& path);

// Writes an 8-bit palette PNG with the palette's 1 to 256 colours. Throws std::runtime_error
// when it cannot.
void WriteIndexedPng(const std::filesystem::path& path, int width, int height,
                     const std::vector<uint8_t>& pixels, const std::vector<PngColor>& palette);
