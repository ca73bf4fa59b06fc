#include "engine/framework/Options.h"

#include <cstring>

#include "engine/framework/RegSettings.h"

namespace {

constexpr const char* kSection = "options";
// A value is read into this many bytes, the terminating zero included: anything longer
// than "FALSE" reads as missing.
constexpr int32_t kValueBytes = 6;

CRegSettings* optionSettings = nullptr;

} // namespace

void SetOptionSettings(CRegSettings* settings) { optionSettings = settings; }
CRegSettings* GetOptionSettings() { return optionSettings; }

bool GetOption(const char* key)
{
    char value[kValueBytes] = "";
    if (optionSettings)
        optionSettings->ReadString(value, kValueBytes, kSection, key);
    if (value[0] == '\0')
        return std::strcmp(key, "closecap") != 0;
    return std::strcmp(value, "FALSE") != 0;
}

void SetOption(const char* key, bool value)
{
    if (!optionSettings)
        return;
    const char* text = value ? "TRUE" : "FALSE";
    optionSettings->WriteString(text, static_cast<int32_t>(std::strlen(text)) + 1, kSection, key);
}
