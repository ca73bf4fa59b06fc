#pragma once
// The catch turn's settings: string list 9500, one number an entry (image, sequence, record
// and sound ids).
#include <cstdint>

constexpr int32_t kCatchSettingsRecord = 9500;

enum CatchSetting : int16_t {
    kSettingMarker = 6,
    kSettingTypeList = 7,
    kSettingHolder = 11,
    kSettingStrip = 12,
    kSettingLure = 13,
    kSettingSceneList = 14,
    kSettingCatchText = 18,
    kSettingLandingSound = 20,
    kSettingCatchSound = 21,
};

// Entry `entry` of the settings as a number; -1 when it is missing or not a number (a missing
// list is a fatal report).
int32_t GetCatchSetting(int16_t entry);
