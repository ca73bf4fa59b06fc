#pragma once
// The game's four on/off options, kept as "TRUE" / "FALSE" in section "options" of the
// settings: "musicon", "soundon", "screenborder" (on when missing) and "closecap" (off when
// missing). Only the exact text "FALSE" reads as off.
bool GetOption(const char* key);
void SetOption(const char* key, bool value);
