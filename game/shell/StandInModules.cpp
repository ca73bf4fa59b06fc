// The stand-in modules live in their header; compiling it here checks that it stands alone.
#include "game/shell/StandInModules.h"
