// Reads arbitrary bytes as a settings file. A file that reads must also read again after the
// store has changed and written it back, with the same values in its first key.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "fuzz/support/FuzzSupport.h"
#include "platform/Settings.h"

namespace {

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = fuzz::MakeTempFolder("qm-settings-fuzz");
    return folder;
}

void ReadAndChange(const uint8_t* data, size_t size)
{
    plat::SetSettingsFolder(Folder());
    const auto file = plat::GetSettingsFile(plat::SettingsPart::User);
    const fuzz::InputFile input(file, data, size);
    std::unique_ptr<plat::SettingsKey> key;
    if (plat::CreateSettingsKey(plat::SettingsPart::User, "Fuzz\\Key", "", key) != plat::SettingsStatus::Ok)
        return; // a damaged file is refused and left alone
    key->WriteNumber("n", 1);
    plat::SettingsValue value;
    if (key->Read("n", value) != plat::SettingsStatus::Ok || plat::SettingsNumber(value.data) != 1)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] { ReadAndChange(data, size); });
    return 0;
}
