#pragma once
// CRegSettings: the program's settings, kept in the platform's settings store under
// "Software\KVL\<application>". The machine part of the store records that the product was
// installed and its version; the user part holds "Installed" and every setting, each value
// directly in the key (the section arguments are not used). On the first run on a machine,
// or of a user, the missing key is created, each under its own named lock so that two
// copies of the program starting together do not both create it.
//
// The two parts are opened apart: a machine part that cannot be opened or created (it may
// live where the program cannot write) leaves the user part working. Without a user key
// every read keeps its default and every write fails.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Settings.h"

class CRegSettings {
public:
    // The short name is accepted and not used.
    CRegSettings(const char* applicationName, const char* shortName);
    virtual ~CRegSettings();
    CRegSettings(const CRegSettings&) = delete;
    CRegSettings& operator=(const CRegSettings&) = delete;

    // `value` holds the default; it is replaced only by a 32-bit number value of that name.
    virtual void ReadDword(uint32_t& value, const char* section, const char* name);
    // `buffer` holds the default; it is replaced only by a text value of that name that fits
    // in `size` bytes. The result is always zero-terminated.
    virtual void ReadString(char* buffer, int32_t size, const char* section, const char* name);
    // Both answer 0 on success, else the store's status.
    virtual int32_t WriteDword(uint32_t value, const char* section, const char* name);
    // Stores `length` bytes of `text` (the caller counts the terminating zero).
    virtual int32_t WriteString(const char* text, int32_t length, const char* section, const char* name);

    bool HasMachineKey() const { return machineKey_ != nullptr; }
    bool HasUserKey() const { return userKey_ != nullptr; }

    static constexpr const char* kMakerFolder = "KVL";
    static constexpr const char* kMachineClass = "Application Global Data";
    static constexpr const char* kUserClass = "Application Per-User Data";

private:
    void Open(const char* applicationName);

    std::unique_ptr<plat::SettingsKey> machineKey_;
    std::unique_ptr<plat::SettingsKey> userKey_;
};
