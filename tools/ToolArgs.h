#pragma once
// Command-line values shared by the tools.
#include <cstdint>
#include <string>

// A whole number in plain decimal with an optional '-', within [lo, hi]. Throws
// std::runtime_error ("bad WHAT: TEXT" or "WHAT out of range: TEXT").
int64_t ParseNumber(const std::string& text, int64_t lo, int64_t hi, const std::string& what);
