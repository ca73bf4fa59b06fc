#include "game/base/LibraryDiscovery.h"

#include <cstring>
#include <memory>
#include <string>

#include "engine/framework/FileSpecs.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/RegSettings.h"
#include "engine/framework/Str.h"
#include "engine/resources/DirScan.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/MegaLib.h"
#include "game/base/DriveLibMgr.h"
#include "game/base/GameGlobals.h"

namespace {

constexpr const char* kDataPattern = "*.qmd";
constexpr const char* kDataPart = ".qmd";
constexpr const char* kLangPattern = "*.lng";
constexpr const char* kLangPart = ".lng";
constexpr int32_t kDataPathSize = 256;

bool ContainsNoCase(const char* name, const char* part)
{
    std::string n(name), p(part);
    for (char& c : n)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : p)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return n.find(p) != std::string::npos;
}

// Whether the library's identity admits it to the disc.
bool Admits(const CResLib& library, int32_t disc)
{
    const CStr* second = library.GetSecondText();
    if (!second || std::strcmp(second->GetText(), "QM3") != 0)
        return false;
    if (disc < 1 || disc > 3)
        return true;
    const auto flags = static_cast<uint32_t>(library.GetId());
    return (flags & kDiscFlagBits[disc - 1]) != 0;
}

// Data and language libraries of one folder: the counts found.
void ScanFolder(CDriveLibMgr& manager, const CFileSpec& folder, int32_t disc, int16_t& data,
                int16_t& language)
{
    data = static_cast<int16_t>(data + ScanForLibraries(manager, folder, kDataPattern, kDataPart, disc));
    language =
        static_cast<int16_t>(language + ScanForLibraries(manager, folder, kLangPattern, kLangPart, disc));
}

int16_t Missing(const char* text)
{
    ShowMessageBox(text, "Data File Error", CMsgBox::kIconStop, CMsgBox::kButtonsOk, 1);
    return 1;
}

} // namespace

bool OpenLibrary(CDriveLibMgr& manager, const CFileSpec& folder, const char* name, int32_t disc,
                 bool isFolder)
{
    CFileSpec path(folder);
    path.Append(name);
    std::unique_ptr<CResLib> library;
    if (isFolder)
        library = std::make_unique<CFoldLib>(path);
    else
        library = std::make_unique<CMegaLib>(path);
    if (library->GetStatus() != 0 || !library->GetSecondText())
        return false;
    uint32_t mask = library->GetMask();
    mask = disc >= 1 ? (mask | CDriveLibMgr::kDiscMaskBit) : (mask & ~CDriveLibMgr::kDiscMaskBit);
    library->SetMask(mask);
    if (!Admits(*library, disc))
        return false;
    manager.AddLibrary(std::move(library));
    return true;
}

int16_t ScanForLibraries(CDriveLibMgr& manager, const CFileSpec& folder, const char* pattern,
                         const char* namePart, int32_t disc)
{
    const int16_t before = manager.GetCount();
    CDirScan scan(folder, 0, 0, pattern);
    for (int32_t i = scan.GetFileCount() - 1; i >= 0; --i)
        if (const CStr* name = scan.GetFile(i); name && ContainsNoCase(name->GetText(), namePart))
            OpenLibrary(manager, folder, name->GetText(), disc, false);
    for (int32_t i = scan.GetFolderCount() - 1; i >= 0; --i)
        if (const CStr* name = scan.GetFolder(i); name && ContainsNoCase(name->GetText(), namePart))
            OpenLibrary(manager, folder, name->GetText(), disc, true);
    return static_cast<int16_t>(manager.GetCount() - before);
}

int16_t FindDataLibraries()
{
    CDriveLibMgr* manager = GetDriveLibMgr();
    int16_t data = 0;
    int16_t language = 0;
    if (manager) {
        ScanFolder(*manager, CFileSpec(), 0, data, language);
        char dataPath[kDataPathSize] = "";
        if (CRegSettings* settings = GetGameSettings())
            settings->ReadString(dataPath, kDataPathSize, "paths", "datapath");
        if (dataPath[0] != '\0')
            ScanFolder(*manager, CFileSpec(dataPath), 0, data, language);
    }
    if (data == 0)
        return Missing("Cannot find the data file.");
    if (language == 0)
        return Missing("Cannot find the language file.");
    return 0;
}

namespace {

DiscSwitch g_discSwitch = nullptr;

} // namespace

void SetDiscSwitch(DiscSwitch discSwitch) { g_discSwitch = discSwitch; }

bool SwitchDisc(int32_t disc, bool offerSave) { return g_discSwitch && g_discSwitch(disc, offerSave); }
