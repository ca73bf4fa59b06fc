// Runs CUtil's text scanner over arbitrary text: numbers, words, quoted strings, lines and
// symbolic names, one after the other, until the text is used up. Every reader must stay
// inside the text and move forward or stop.
// Run: fuzz_UtilScanFuzz fuzz/corpus/UtilScanFuzz
#include <cstdint>
#include <string>

#include "engine/framework/Util.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

void Scan(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size); // ends at the first NUL
    const char* p = text.c_str();
    const char* const end = p + std::char_traits<char>::length(p);
    const CUtil::EnumEntry table[] = {{"ONE", 1}, {"TWO", 2}, {nullptr, 0}};
    char word[64];
    unsigned char pascal[256];
    int round = 0;
    while (p < end) {
        const char* before = p;
        int16_t error = 0;
        int32_t value = 0;
        int16_t symbol = 0;
        switch (round++ % 5) {
        case 0: p = CUtil::ReadLong(p, &value, "fuzz", &error); break;
        case 1: p = CUtil::ReadCString(p, word, sizeof word); break;
        case 2: p = CUtil::ReadPString(p, pascal, sizeof pascal); break;
        case 3: p = CUtil::ReadEnum(p, table, &symbol, "fuzz", &error); break;
        case 4: p = CUtil::ReadLine(p, word, sizeof word); break;
        }
        if (p < text.c_str() || p > end)
            __builtin_trap();
        if (p == before)
            p = CUtil::SkipBlanksAndComments(p + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] { Scan(data, size); });
    return 0;
}
