#include "platform/widgets/EditLayout.h"

namespace plat::widgets {
namespace {

// Breaks one paragraph [start, end) into lines of at most width.
void WrapParagraph(std::string_view text, int32_t start, int32_t end, int32_t width, const TextWidth& measure,
                   std::vector<EditLine>& out)
{
    while (true) {
        if (width <= 0 || measure(text.substr(start, end - start)) <= width) {
            out.push_back({start, end});
            return;
        }
        // The longest run from start that fits, at least one character.
        int32_t fit = start + 1;
        while (fit < end && measure(text.substr(start, fit + 1 - start)) <= width)
            ++fit;
        int32_t cut = fit;
        for (int32_t i = fit; i > start; --i) {
            if (text[i - 1] == ' ') {
                cut = i;
                break;
            }
        }
        out.push_back({start, cut});
        start = cut;
    }
}

} // namespace

std::vector<EditLine> BreakLines(std::string_view text, int32_t width, const TextWidth& measure)
{
    std::vector<EditLine> lines;
    int32_t start = 0;
    const auto size = static_cast<int32_t>(text.size());
    while (true) {
        const size_t brk = text.find("\r\n", static_cast<size_t>(start));
        const int32_t end = brk == std::string_view::npos ? size : static_cast<int32_t>(brk);
        WrapParagraph(text, start, end, width, measure, lines);
        if (brk == std::string_view::npos)
            return lines;
        start = end + 2;
    }
}

size_t LineOf(const std::vector<EditLine>& lines, int32_t offset)
{
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (offset < lines[i + 1].start)
            return i;
    }
    return lines.empty() ? 0 : lines.size() - 1;
}

} // namespace plat::widgets
