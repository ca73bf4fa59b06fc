#include "game/action/PlaySettings.h"

#include "engine/resources/RecReader.h"

int32_t GetCatchSetting(int16_t entry) { return CRecReader(kCatchSettingsRecord).GetNumber(entry); }
