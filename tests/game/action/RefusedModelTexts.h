#pragma once
// Model texts that break one rule each, with the reason the loader gives: the model loader's
// tests and qmriver's tests both go through them.
#include <string>
#include <vector>

namespace modeltest {

// A triangle model of three vertices with the polygon line given.
inline std::vector<std::string> Triangle(const std::string& polygonLine)
{
    return {"tri 3 1", "0 0 0", "2 0 0", "0 3 0", polygonLine};
}

struct RefusedText {
    std::vector<std::string> lines;
    const char* error;
};

inline const std::vector<RefusedText>& RefusedTexts()
{
    static const std::vector<RefusedText> texts = {
        {{}, "no model text"},
        {{"\t"}, "the header has no name"},
        {{"name"}, "the header has no vertex count"},
        {{"name 3"}, "the header has no polygon count"},
        {{"name 3 x"}, "the header has no polygon count"},
        {{"name 31 0"}, "vertex count 31 is outside 0..30"},
        {{"name -1 0"}, "vertex count -1 is outside 0..30"},
        {{"name 0 17"}, "polygon count 17 is outside 0..16"},
        {{"name 2 0", "0 0 0"}, "vertex 1: the line is missing"},
        {{"name 1 0", "0 0"}, "vertex 0: fewer than three numbers"},
        {{"name 1 0", "0 x 0"}, "vertex 0: fewer than three numbers"},
        {{"name 1 0", "0 0 1e39"}, "vertex 0: a number is not finite in single precision"},
        {{"name 1 0", "0 nan 0"}, "vertex 0: a number is not finite in single precision"},
        {{"name 1 0", "inf 0 0"}, "vertex 0: a number is not finite in single precision"},
        {{"tri 3 1", "0 0 0", "2 0 0", "0 3 0"}, "polygon 0: the line is missing"},
        {Triangle(", ,"), "polygon 0: no colour word"},
        {Triangle("0xZZ 3 0 1 2"), "polygon 0: colour word \"0xZZ\" is not a number"},
        {Triangle("0x 3 0 1 2"), "polygon 0: colour word \"0x\" is not a number"},
        {Triangle("0x123456789 3 0 1 2"), "polygon 0: colour word \"0x123456789\" is not a number"},
        {Triangle("+5 3 0 1 2"), "polygon 0: colour word \"+5\" is not a number"},
        {Triangle("12x 3 0 1 2"), "polygon 0: colour word \"12x\" is not a number"},
        {Triangle("12"), "polygon 0: no vertex count"},
        {Triangle("12 three 0 1 2"), "polygon 0: vertex count \"three\" is not a number"},
        {Triangle("12 5 0 1 2 0 1"), "polygon 0: vertex count 5 is not 3 or 4"},
        {Triangle("12 2 0 1"), "polygon 0: vertex count 2 is not 3 or 4"},
        {Triangle("12 3 0 1"), "polygon 0: index 2 is missing"},
        {Triangle("12 3 0 one 2"), "polygon 0: index \"one\" is not a number"},
        {Triangle("12 3 0 1 3"), "polygon 0: index 3 is outside 0..2"},
        {Triangle("12 3 0 -1 2"), "polygon 0: index -1 is outside 0..2"},
    };
    return texts;
}

} // namespace modeltest
