#pragma once
// FFmpeg's own decode loop over a clip file, with nothing of the clip layer: what tests and
// the benchmark hold the layer against.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace plat {

struct PlainClipDecode {
    int width = 0;
    int height = 0;
    int frames = 0;
    std::vector<std::vector<uint8_t>> pictures;     // width x height indices per frame
    std::vector<std::array<uint8_t, 768>> palettes; // red, green, blue per index per frame
    std::array<std::vector<uint8_t>, 8> sound;      // track 1-7: the samples, interleaved
};

// Decodes every frame and every track; with keepPictures false only counts the frames.
// Nothing when FFmpeg cannot open the file.
std::optional<PlainClipDecode> DecodeClipPlainly(const std::filesystem::path& path, bool keepPictures = true);

} // namespace plat
