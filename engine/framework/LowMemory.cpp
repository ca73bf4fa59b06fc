#include "engine/framework/LowMemory.h"

void NotifyLowMemory(int32_t) {}
