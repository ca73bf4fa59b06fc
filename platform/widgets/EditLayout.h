#pragma once
// How an edit field's text breaks into lines (not for use outside platform/): at its line
// breaks ("\r\n") and, when a line is wider than the width given, after the last blank that
// fits (or, in a word too long for the width, after the last character that fits).
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace plat::widgets {

struct EditLine {
    int32_t start = 0; // byte offsets into the text; the line break is not part of the line
    int32_t end = 0;
};

using TextWidth = std::function<int32_t(std::string_view)>;

// Lines of the text; width 0 or less breaks only at line breaks.
std::vector<EditLine> BreakLines(std::string_view text, int32_t width, const TextWidth& measure);

// The line holding an offset (a line break belongs to the line it ends).
size_t LineOf(const std::vector<EditLine>& lines, int32_t offset);

} // namespace plat::widgets
