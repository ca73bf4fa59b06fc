// The model text: a text record read line by line (empty lines passed over, comments after
// '#' or ';' cut off, at most 79 characters a line).
//
//   NAME V P          a name (one word, ignored) and the vertex and polygon counts
//   X Y Z             V lines: single-precision numbers, each widened and scaled
//   COLOUR N I1..IN   P lines split into words at blanks and , . ! ? ; :
//
// The colour word is decimal (a leading 0 still decimal) or "0x" and 1-8 hexadecimal
// digits; its low 8 bits are the colour and its low 16 bits, taken as a signed number and
// shifted right by 12, the flags (0xF0C8: colour 200, flags -1). N is 3 or 4 and the indices
// count the vertex lines from 0. Anything after the numbers a line needs is ignored.
//
// The text is outside data, so every count, number and index is checked: a text that breaks
// a rule gives no model at all rather than one that reads past its arrays.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Str.h"
#include "engine/resources/RecReader.h"
#include "game/action/3DModel.h"

namespace {

// NextLine keeps at most 79 characters.
constexpr int16_t kLineRoom = 80;
constexpr const char* kPolygonSeparators = " \t\r\n\f\v,.!?;:";
// Large enough to be refused by every range check, small enough never to overflow.
constexpr int64_t kSaturated = int64_t{1} << 40;

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole word read as a decimal number with an optional '-': its value (saturated) and its
// low 32 bits (exact, wrapping as the original arithmetic does).
struct Decimal {
    int64_t value = 0;
    uint32_t low = 0;
};

bool ParseDecimal(const std::string& word, Decimal& out)
{
    size_t i = word.size() > 1 && word[0] == '-' ? 1 : 0;
    if (i == word.size())
        return false;
    int64_t value = 0;
    uint32_t low = 0;
    for (; i < word.size(); ++i) {
        if (!IsDigit(word[i]))
            return false;
        const auto digit = static_cast<uint32_t>(word[i] - '0');
        value = value < kSaturated ? value * 10 + digit : kSaturated;
        low = low * 10u + digit;
    }
    const bool negative = word[0] == '-';
    out.value = negative ? -value : value;
    out.low = negative ? 0u - low : low;
    return true;
}

bool ParseColourWord(const std::string& word, uint32_t& value)
{
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        // 1 to 8 hexadecimal digits and nothing else.
        const char* end = word.data() + word.size();
        if (word.size() > 10)
            return false;
        const std::from_chars_result read = std::from_chars(word.data() + 2, end, value, 16);
        return read.ec == std::errc() && read.ptr == end;
    }
    Decimal number;
    if (!ParseDecimal(word, number))
        return false;
    value = number.low;
    return true;
}

// "%d" of scanf: blanks, an optional sign, at least one digit; the rest of the text stays.
bool ScanInteger(const char*& text, int64_t& value)
{
    while (IsSpace(*text))
        ++text;
    const bool negative = *text == '-';
    const char* p = text + ((*text == '-' || *text == '+') ? 1 : 0);
    if (!IsDigit(*p))
        return false;
    value = 0;
    for (; IsDigit(*p); ++p)
        value = value < kSaturated ? value * 10 + (*p - '0') : kSaturated;
    if (negative)
        value = -value;
    text = p;
    return true;
}

// "%s" of scanf: blanks, then a word of at least one character.
bool ScanWord(const char*& text)
{
    while (IsSpace(*text))
        ++text;
    if (!*text)
        return false;
    while (*text && !IsSpace(*text))
        ++text;
    return true;
}

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    size_t start = line.find_first_not_of(kPolygonSeparators);
    while (start != std::string::npos) {
        const size_t end = line.find_first_of(kPolygonSeparators, start);
        words.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : line.find_first_not_of(kPolygonSeparators, end);
    }
    return words;
}

// Reads one model text; every method returns false with the reason kept.
class ModelTextReader {
public:
    ModelTextReader(CRecReader& reader, C3DModel& model, double scale)
        : reader_(reader), model_(model), scale_(scale)
    {
    }

    bool Read()
    {
        if (!ReadHeader())
            return false;
        for (int16_t i = 0; i < model_.vertexCount; ++i)
            if (!ReadVertex(i))
                return false;
        for (int16_t i = 0; i < model_.polygonCount; ++i)
            if (!ReadPolygon(i))
                return false;
        return true;
    }

    const std::string& Error() const { return error_; }

private:
    bool Fail(std::string message)
    {
        error_ = std::move(message);
        return false;
    }

    bool NextLine(std::string& line)
    {
        const std::unique_ptr<CStr> text = reader_.NextLine(reader_.ReadIndex(), kLineRoom);
        if (!text)
            return false;
        line = text->GetText();
        return true;
    }

    bool ReadHeader()
    {
        std::string line;
        if (!NextLine(line))
            return Fail("no model text");
        const char* text = line.c_str();
        if (!ScanWord(text))
            return Fail("the header has no name");
        int64_t vertices = 0;
        int64_t polygons = 0;
        if (!ScanInteger(text, vertices))
            return Fail("the header has no vertex count");
        if (!ScanInteger(text, polygons))
            return Fail("the header has no polygon count");
        if (vertices < 0 || vertices > C3DModel::kMaxVertices)
            return Fail("vertex count " + std::to_string(vertices) + " is outside 0..30");
        if (polygons < 0 || polygons > C3DModel::kMaxPolygons)
            return Fail("polygon count " + std::to_string(polygons) + " is outside 0..16");
        model_.vertexCount = static_cast<int16_t>(vertices);
        model_.polygonCount = static_cast<int16_t>(polygons);
        return true;
    }

    bool ReadVertex(int16_t i)
    {
        const std::string where = "vertex " + std::to_string(i) + ": ";
        std::string line;
        if (!NextLine(line))
            return Fail(where + "the line is missing");
        const char* text = line.c_str();
        double values[3];
        for (double& value : values) {
            char* end = nullptr;
            const float number = std::strtof(text, &end);
            if (end == text)
                return Fail(where + "fewer than three numbers");
            if (!std::isfinite(number))
                return Fail(where + "a number is not finite in single precision");
            value = static_cast<double>(number) * scale_;
            text = end;
        }
        model_.model[i] = C3DPoint{values[0], values[1], values[2], 0};
        return true;
    }

    bool ReadPolygon(int16_t i)
    {
        const std::string where = "polygon " + std::to_string(i) + ": ";
        std::string line;
        if (!NextLine(line))
            return Fail(where + "the line is missing");
        const std::vector<std::string> words = SplitWords(line);
        uint32_t colourWord = 0;
        if (words.empty())
            return Fail(where + "no colour word");
        if (!ParseColourWord(words[0], colourWord))
            return Fail(where + "colour word \"" + words[0] + "\" is not a number");
        Decimal count;
        if (words.size() < 2)
            return Fail(where + "no vertex count");
        if (!ParseDecimal(words[1], count))
            return Fail(where + "vertex count \"" + words[1] + "\" is not a number");
        if (count.value != 3 && count.value != 4)
            return Fail(where + "vertex count " + words[1] + " is not 3 or 4");
        C3DPolygon polygon;
        polygon.vertexCount = static_cast<int16_t>(count.value);
        polygon.colour = static_cast<uint16_t>(colourWord & 0xFF);
        polygon.colourCopy = polygon.colour;
        polygon.flags = static_cast<int16_t>(static_cast<int16_t>(colourWord & 0xFFFF) >> 12);
        for (int16_t k = 0; k < polygon.vertexCount; ++k) {
            const size_t w = static_cast<size_t>(k) + 2;
            Decimal index;
            if (w >= words.size())
                return Fail(where + "index " + std::to_string(k) + " is missing");
            if (!ParseDecimal(words[w], index))
                return Fail(where + "index \"" + words[w] + "\" is not a number");
            if (index.value < 0 || index.value >= model_.vertexCount)
                return Fail(where + "index " + words[w] + " is outside 0.." +
                            std::to_string(model_.vertexCount - 1));
            polygon.indices[k] = static_cast<uint16_t>(index.value);
        }
        model_.polygons[i] = polygon;
        return true;
    }

    CRecReader& reader_;
    C3DModel& model_;
    double scale_;
    std::string error_;
};

} // namespace

bool ReadModelText(CRecReader& reader, C3DModel& model, double scale, std::string& error)
{
    ModelTextReader text(reader, model, scale);
    if (!text.Read()) {
        error = text.Error();
        return false;
    }
    ComputeGeometry(model);
    return true;
}
