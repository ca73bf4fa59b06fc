#include "engine/framework/RegSettings.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "engine/framework/Appl.h"
#include "platform/NamedLock.h"
#include "platform/SystemInfo.h"

namespace {

constexpr const char* kInstalled = "Installed";
constexpr const char* kVersionNumber = "Version Number:";
// A key that vanishes again right after it was made (another program deleting it) is
// looked for this many times before the part gives up.
constexpr int kOpenAttempts = 3;

// The text stored as the machine part's version number: the application's version text, or
// the product version it is read from when no application exists.
std::string VersionText()
{
    if (const CBaseAppl* application = GetApplication())
        return application->GetVersion();
    return plat::GetProductVersion();
}

// Makes the key of a part with its class and values; a key that was new is taken out
// again when a value cannot be written.
bool CreatePartKey(plat::SettingsPart part, const std::string& path)
{
    const bool machine = part == plat::SettingsPart::Machine;
    std::unique_ptr<plat::SettingsKey> key;
    bool created = false;
    if (plat::CreateSettingsKey(part, path, machine ? CRegSettings::kMachineClass : CRegSettings::kUserClass,
                                key, &created) != plat::SettingsStatus::Ok)
        return false;
    bool ok = true;
    if (machine) {
        const std::string version = VersionText();
        // The terminating zero is stored with the text.
        const auto* bytes = reinterpret_cast<const uint8_t*>(version.c_str());
        ok = key->Write(kVersionNumber, plat::SettingsType::String, {bytes, version.size() + 1}) ==
             plat::SettingsStatus::Ok;
    }
    ok = ok && key->WriteNumber(kInstalled, 1) == plat::SettingsStatus::Ok;
    if (!ok && created)
        plat::DeleteSettingsKey(part, path);
    return ok;
}

// Opens the key of one part, creating it under the part's named lock when it is missing or
// lacks "Installed". Null when the part cannot be had.
std::unique_ptr<plat::SettingsKey> OpenPart(plat::SettingsPart part, const std::string& path,
                                            const std::string& lockName, plat::SettingsAccess access)
{
    auto lock = plat::NamedLock::Create(lockName);
    if (!lock)
        return nullptr;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (!lock->Acquire())
            return nullptr;
        std::unique_ptr<plat::SettingsKey> key;
        plat::SettingsValue installed;
        if (plat::OpenSettingsKey(part, path, access, key) == plat::SettingsStatus::Ok &&
            key->Read(kInstalled, installed) == plat::SettingsStatus::Ok) {
            lock->Release();
            return key;
        }
        const bool created = CreatePartKey(part, path);
        lock->Release();
        if (!created)
            return nullptr;
    }
    return nullptr;
}

} // namespace

CRegSettings::CRegSettings(const char* applicationName, const char* /*shortName*/)
{
    Open(applicationName ? applicationName : "");
}

CRegSettings::~CRegSettings() = default;

void CRegSettings::Open(const char* applicationName)
{
    const std::string maker = kMakerFolder;
    const std::string path = "Software\\" + maker + "\\" + applicationName;
    const std::string lockName = "Software/" + maker + "/" + applicationName;
    machineKey_ = OpenPart(plat::SettingsPart::Machine, path, lockName, plat::SettingsAccess::Read);
    userKey_ =
        OpenPart(plat::SettingsPart::User, path, lockName + "/PerUser", plat::SettingsAccess::ReadWrite);
}

void CRegSettings::ReadDword(uint32_t& value, const char* /*section*/, const char* name)
{
    plat::SettingsValue stored;
    if (!userKey_ || !name || userKey_->Read(name, stored) != plat::SettingsStatus::Ok)
        return;
    if (stored.type == plat::SettingsType::Number && stored.data.size() == 4)
        value = plat::SettingsNumber(stored.data);
}

void CRegSettings::ReadString(char* buffer, int32_t size, const char* /*section*/, const char* name)
{
    plat::SettingsValue stored;
    if (!buffer || size <= 0 || !userKey_ || !name ||
        userKey_->Read(name, stored) != plat::SettingsStatus::Ok)
        return;
    // A text longer than the buffer does not fit and leaves the default.
    const auto length = static_cast<int32_t>(stored.data.size());
    if (stored.type != plat::SettingsType::String || length > size)
        return;
    if (length > 0)
        std::memcpy(buffer, stored.data.data(), stored.data.size());
    // A text stored without its zero still comes back terminated, if need be one
    // character shorter.
    if (!std::memchr(buffer, 0, stored.data.size()))
        buffer[length < size ? length : size - 1] = '\0';
}

int32_t CRegSettings::WriteDword(uint32_t value, const char* /*section*/, const char* name)
{
    if (!userKey_ || !name)
        return static_cast<int32_t>(plat::SettingsStatus::NotOpen);
    return static_cast<int32_t>(userKey_->WriteNumber(name, value));
}

int32_t CRegSettings::WriteString(const char* text, int32_t length, const char* /*section*/, const char* name)
{
    if (!userKey_ || !name)
        return static_cast<int32_t>(plat::SettingsStatus::NotOpen);
    if (!text || length < 0)
        return static_cast<int32_t>(plat::SettingsStatus::BadArgument);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    return static_cast<int32_t>(
        userKey_->Write(name, plat::SettingsType::String, {bytes, static_cast<size_t>(length)}));
}
