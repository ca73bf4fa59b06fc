// Reads arbitrary bytes as a settings file. A file that reads must also read again after the
// store has changed and written it back, with the same values in its first key.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "platform/Settings.h"

namespace {

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        char name[] = "/tmp/qm-settings-fuzz-XXXXXX";
        const char* made = mkdtemp(name);
        return std::filesystem::path(made ? made : "/tmp");
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    plat::SetSettingsFolder(Folder());
    const auto file = plat::GetSettingsFile(plat::SettingsPart::User);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::unique_ptr<plat::SettingsKey> key;
    if (plat::CreateSettingsKey(plat::SettingsPart::User, "Fuzz\\Key", "", key) != plat::SettingsStatus::Ok)
        return 0; // a damaged file is refused and left alone
    key->WriteNumber("n", 1);
    plat::SettingsValue value;
    if (key->Read("n", value) != plat::SettingsStatus::Ok || plat::SettingsNumber(value.data) != 1)
        std::abort();
    return 0;
}
