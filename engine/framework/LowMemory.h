#pragma once
// Memory blocks call this when an allocation fails, before they try once more: it gives the
// application the chance to tell the user and to free memory.
#include <cstdint>

void NotifyLowMemory(int32_t size);
