#pragma once
// The engine's message string list: the texts that engine reports are built from (entry 6
// "resource not found", entry 8, ...). The application loads it from the libraries at
// start-up; until then (and in tests) it is whatever table was set.
#include <cstdint>
#include <string>
#include <vector>

// Entry n (0-based) of the list, or null when there is none.
const char* GetEngineString(int32_t n);
void SetEngineStrings(std::vector<std::string> strings);
void ClearEngineStrings();
