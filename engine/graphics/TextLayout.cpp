#include "engine/graphics/TextLayout.h"

namespace {

// Text with the '&' marks taken out: the characters and, for each, whether it is marked.
struct PlainText {
    std::string chars;
    std::vector<bool> marked;
};

PlainText RemoveMarks(std::string_view text)
{
    PlainText out;
    for (size_t i = 0; i < text.size(); ++i) {
        bool marked = false;
        if (text[i] == '&') {
            if (++i == text.size())
                break; // a mark with nothing after it draws nothing
            marked = text[i] != '&';
        }
        out.chars += text[i];
        out.marked.push_back(marked);
    }
    return out;
}

class LineBreaker {
public:
    LineBreaker(const PlainText& plain, int32_t width, const TextMeasure& measure)
        : plain_(plain), width_(width), measure_(measure)
    {
    }

    // Breaks the characters [begin, end), which hold no line end, into lines.
    void Break(size_t begin, size_t end)
    {
        size_t lineStart = begin;
        size_t lineEnd = begin; // past the last word placed on the line
        size_t pos = begin;
        while (pos < end) {
            const size_t wordStart = SkipSpaces(pos, end);
            if (wordStart == end)
                break;
            const size_t wordEnd = WordEnd(wordStart, end);
            if (lineEnd > lineStart && Width(lineStart, wordEnd) > width_) {
                Emit(lineStart, lineEnd);
                lineStart = wordStart;
            }
            lineEnd = wordEnd;
            pos = wordEnd;
        }
        Emit(lineStart, lineEnd);
    }

    std::vector<TextLine> Take() { return std::move(lines_); }

private:
    size_t SkipSpaces(size_t pos, size_t end) const
    {
        while (pos < end && plain_.chars[pos] == ' ')
            ++pos;
        return pos;
    }
    size_t WordEnd(size_t pos, size_t end) const
    {
        while (pos < end && plain_.chars[pos] != ' ')
            ++pos;
        return pos;
    }
    int32_t Width(size_t begin, size_t end) const
    {
        return measure_(std::string_view(plain_.chars).substr(begin, end - begin));
    }
    void Emit(size_t begin, size_t end)
    {
        TextLine line;
        line.text = plain_.chars.substr(begin, end - begin);
        line.width = Width(begin, end);
        for (size_t i = begin; i < end; ++i)
            if (plain_.marked[i])
                line.underlined.push_back(i - begin);
        lines_.push_back(std::move(line));
    }

    const PlainText& plain_;
    int32_t width_;
    const TextMeasure& measure_;
    std::vector<TextLine> lines_;
};

} // namespace

std::vector<TextLine> WrapText(std::string_view text, int32_t width, const TextMeasure& measure)
{
    const PlainText plain = RemoveMarks(text);
    LineBreaker breaker(plain, width, measure);
    const std::string& chars = plain.chars;
    size_t begin = 0;
    for (size_t i = 0; i <= chars.size(); ++i) {
        if (i < chars.size() && chars[i] != '\r' && chars[i] != '\n')
            continue;
        breaker.Break(begin, i);
        if (i + 1 < chars.size() && chars[i] == '\r' && chars[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    return breaker.Take();
}
