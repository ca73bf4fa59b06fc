#pragma once
// The game's template kinds: 64 kinds (1-0x46 less 0, 3, 0x2e, 0x2f, 0x38, 0x39 and 0x3d),
// each registered once with the type registrar by the game itself.
#include <cstdint>
#include <vector>

void RegisterTemplateTypes();
// The kinds RegisterTemplateTypes registers, in order, and how many there are.
const int32_t* GameTemplateKinds(int32_t& count);
// The kinds registered as missing: reading one ends the program with a report naming its class.
std::vector<int32_t> MissingTemplateKinds();
