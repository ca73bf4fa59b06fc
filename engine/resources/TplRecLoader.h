#pragma once
// Loading string lists: an "STR" resource is definition text holding a sequence of string
// values (quoted strings, names of text constants or bare words, separated by blanks or
// single commas); each value becomes one entry of a CTplRec, in order.
#include <cstdint>
#include <memory>

class CTplRec;

// The longest entry of a string list.
constexpr int32_t kMaxStringListEntry = 2047;

// Clears the record and loads "STR" id into it under the library mask; returns the id, or -1
// when there is no such list (with report, that is a fatal report).
int32_t LoadTplRec(CTplRec& record, int32_t id, uint32_t mask, bool report);
// A new record loaded from "STR" id, or null when there is none.
std::unique_ptr<CTplRec> CreateTplRec(int32_t id, uint32_t mask, bool report);
