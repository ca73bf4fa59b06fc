#include "game/shell/Options.h"

#include <cstring>

#include "engine/framework/RegSettings.h"
#include "game/shell/GameGlobals.h"

namespace {

constexpr const char* kSection = "options";

} // namespace

bool GetOption(const char* key)
{
    char value[6] = "";
    if (CRegSettings* settings = GetGameSettings())
        settings->ReadString(value, sizeof value, kSection, key);
    if (value[0] == '\0')
        return std::strcmp(key, "closecap") != 0;
    return std::strcmp(value, "FALSE") != 0;
}

void SetOption(const char* key, bool value)
{
    CRegSettings* settings = GetGameSettings();
    if (!settings)
        return;
    const char* text = value ? "TRUE" : "FALSE";
    settings->WriteString(text, static_cast<int32_t>(std::strlen(text) + 1), kSection, key);
}
