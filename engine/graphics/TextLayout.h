#pragma once
// Lays out text for drawing into a rectangle: lines break at line ends (CR, LF or CR LF) and
// between words where the next word would pass the width. A word wider than the width stands
// alone on its line. An '&' marks the next character for underlining (the shortcut letter of
// a label) and is not drawn; "&&" stands for one '&'.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TextLine {
    std::string text;               // the characters to draw, marks removed
    int32_t width = 0;              // their width in pixels, spaces at a break left out
    std::vector<size_t> underlined; // positions in text of the characters to underline
};

// The pixel width of a run of characters.
using TextMeasure = std::function<int32_t(std::string_view)>;

std::vector<TextLine> WrapText(std::string_view text, int32_t width, const TextMeasure& measure);
