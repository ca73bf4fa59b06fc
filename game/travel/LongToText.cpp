#include "game/travel/LongToText.h"

std::string LongToText(int32_t value, int32_t size)
{
    if (size == 0 || size == 1)
        return std::string();
    if (value == 0)
        return "0";
    // The magnitude in 64 bits, so that the most negative value has one too.
    int64_t magnitude = value;
    std::string text;
    if (magnitude < 0) {
        text = "-";
        magnitude = -magnitude;
    }
    std::string digits = std::to_string(magnitude);
    if (size > 1 && digits.size() > static_cast<size_t>(size - 1))
        digits.resize(static_cast<size_t>(size - 1));
    return text + digits;
}
