#include "tools/ToolArgs.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

int64_t ParseNumber(const std::string& text, int64_t lo, int64_t hi, const std::string& what)
{
    const bool digits = !text.empty() && std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || text == "-")
        throw std::runtime_error("bad " + what + ": " + text);
    errno = 0;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < lo || v > hi)
        throw std::runtime_error(what + " out of range: " + text);
    return v;
}
