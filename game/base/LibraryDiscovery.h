#pragma once
// Finding the game's libraries: data libraries are files or folders whose names hold ".qmd",
// language libraries ".lng" (any letter case, anywhere in the name). A library is taken when
// it opens, its identity's second text is "QM3" and, for discs 1-3, its identity's disc flags
// hold that disc's bit; it then gets the disc mask bit when opened for a disc (1 or more).
#include <cstdint>

class CDriveLibMgr;
class CFileSpec;

// Disc-flag bits that admit a library to discs 1, 2 and 3.
constexpr uint32_t kDiscFlagBits[3] = {0x10000000, 0x01000000, 0x00100000};

// Opens the data and language libraries of the program's folder, then of the folder of
// setting "datapath" (section "paths"). 0 when both kinds were found; otherwise the message
// box "Cannot find the data file." or "Cannot find the language file." and 1.
int16_t FindDataLibraries();

// Opens every matching library of the folder for the disc: files, then sub-folders, each
// from the last listed to the first. Returns the number added.
int16_t ScanForLibraries(CDriveLibMgr& manager, const CFileSpec& folder, const char* pattern,
                         const char* namePart, int32_t disc);

// Opens one library (a folder library when isFolder), checks it and adds it to the manager,
// or discards it. True when added.
bool OpenLibrary(CDriveLibMgr& manager, const CFileSpec& folder, const char* name, int32_t disc,
                 bool isFolder);

// Makes the libraries of disc n the open disc libraries (n below 1: none). Asks for the disc
// while no drive holds it; true when the disc's libraries are open. A disc given up (or with
// no libraries) leaves no disc open (current disc -1) and starts the trip over. The switch
// needs the application's disc state and the trip, so the application installs it; without
// one installed no disc opens (false).
bool SwitchDisc(int32_t disc, bool offerSave);
using DiscSwitch = bool (*)(int32_t disc, bool offerSave);
// Installs the switch SwitchDisc runs; null removes it.
void SetDiscSwitch(DiscSwitch discSwitch);
