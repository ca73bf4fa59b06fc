#pragma once
// The settings store: a tree of keys holding named, typed values (text, 32-bit numbers and
// raw bytes), kept in two parts. The machine part records what was installed on this
// machine; the user part holds every setting of the user. Key paths use backslashes
// ("Software\KVL\Quillmark III") and, like value names, compare without regard to case.
//
// Each part is one text file in the settings folder ($XDG_CONFIG_HOME/kvl, else
// ~/.config/kvl). Every change is written at once: the file is re-read, changed and written
// to a temporary file that is synced and renamed over the old one, all under an flock on a
// lock file beside it, so two programs writing at the same time never lose each other's
// changes and a crash never leaves half a file. A part whose file cannot be written still
// reads; its writes fail. A file that cannot be read as settings is left untouched and every
// operation on its part fails with Corrupt and a message naming the file and line.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class SettingsPart { Machine, User };

enum class SettingsType : uint8_t { String, Number, Binary };

enum class SettingsStatus : int32_t {
    Ok = 0,
    NotFound = 1,     // no such key or value
    AccessDenied = 2, // the key was opened for reading, or its part cannot be written
    BadArgument = 3,  // an empty path component, or a number that is not 4 bytes long
    Corrupt = 4,      // the part's file is not a settings file (see LastSettingsError)
    IoError = 5,      // the part's file could not be read
    NotOpen = 6,      // the caller holds no open key
};

// A stored value. A String keeps exactly the bytes it was written with (callers usually
// count the terminating zero); a Number is 4 bytes, little-endian.
struct SettingsValue {
    SettingsType type = SettingsType::Binary;
    std::vector<uint8_t> data;
};

enum class SettingsAccess { Read, ReadWrite };

// An open key. It names its key by part and path; each call finds the key again, so a key
// deleted meanwhile answers NotFound.
class SettingsKey {
public:
    SettingsKey(SettingsPart part, std::string path, SettingsAccess access)
        : part_(part), path_(std::move(path)), access_(access)
    {
    }
    SettingsPart Part() const { return part_; }
    const std::string& Path() const { return path_; }

    SettingsStatus Read(std::string_view name, SettingsValue& value) const;
    SettingsStatus Write(std::string_view name, SettingsType type, std::span<const uint8_t> data);
    SettingsStatus WriteNumber(std::string_view name, uint32_t number);
    // The class text the key was created with.
    SettingsStatus ReadClass(std::string& className) const;

private:
    SettingsPart part_;
    std::string path_;
    SettingsAccess access_;
};

// Opens an existing key.
SettingsStatus OpenSettingsKey(SettingsPart part, std::string_view path, SettingsAccess access,
                               std::unique_ptr<SettingsKey>& key);
// Opens a key for reading and writing, making it (with the class text) and any missing key
// above it when it does not exist; `created` tells which happened.
SettingsStatus CreateSettingsKey(SettingsPart part, std::string_view path, std::string_view className,
                                 std::unique_ptr<SettingsKey>& key, bool* created = nullptr);
// Deletes the key and every key below it.
SettingsStatus DeleteSettingsKey(SettingsPart part, std::string_view path);

// 32-bit numbers travel as 4 little-endian bytes.
uint32_t SettingsNumber(std::span<const uint8_t> data);

// The folder holding both parts and the named locks.
std::filesystem::path DefaultSettingsFolder();
std::filesystem::path GetSettingsFolder();
void SetSettingsFolder(const std::filesystem::path& folder);
// The file of a part: "machine.settings" or "user.settings" in the settings folder unless
// another file was set for it (an empty path goes back to the folder's file).
std::filesystem::path GetSettingsFile(SettingsPart part);
void SetSettingsFile(SettingsPart part, const std::filesystem::path& file);

// The message of the last failure that had one (a corrupt file, a failed write).
const std::string& LastSettingsError();

// Whether a write waits until the file and its folder are on the disk (fsync); on unless a
// test turns it off to run faster.
void SetSettingsDurable(bool durable);

// Back to the default folder and files, durable writes.
void ResetSettings();

} // namespace plat
