#pragma once
// The decimal text of a number for a field of `size` bytes (its terminator included): nothing
// for size 0 or 1; "0" for 0; otherwise a '-' for a negative value and at most size - 1
// digits, the leading ones (a negative size keeps every digit). The sign does not count
// against the size, so "-12" comes of -1234 with size 3.
#include <cstdint>
#include <string>

std::string LongToText(int32_t value, int32_t size);
