#pragma once
// The game's on/off options ("musicon", "soundon", "closecap", "screenborder"), kept as the
// texts "TRUE" and "FALSE" in the settings the program installs. A missing or empty value
// means on, except for "closecap"; only the exact text "FALSE" means off.
class CRegSettings;

// The settings the options live in (not owned); null: every option reads as missing.
void SetOptionSettings(CRegSettings* settings);
CRegSettings* GetOptionSettings();

bool GetOption(const char* key);
void SetOption(const char* key, bool value);
