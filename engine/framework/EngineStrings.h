#pragma once
// The engine's message string list: the texts that engine reports are built from (entry 6
// "resource not found", entry 8, ...). The application loads it from the libraries at
// start-up ("STR" 8); until then, and in tests, it is whatever list was installed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/TplRec.h"

// The text of entry n (0-based) of the list, or null when there is none.
const char* GetEngineString(int32_t n);
// The text of entry n for a report; without one (no list loaded, or a short one) a text naming
// the entry, "[engine message N] ", so that a report never shows an empty text.
std::string GetEngineText(int32_t n);
// Installs the list (owned); null removes it.
void SetEngineStringList(std::unique_ptr<CTplRec> list);
const CTplRec* GetEngineStringList();
// Installs a list made of the given texts.
void SetEngineStrings(const std::vector<std::string>& texts);
void ClearEngineStrings();
