#include "game/base/DriveLibMgr.h"

#include <string>

#include "engine/framework/FileSpecs.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "platform/Files.h"

CDriveLibMgr::CDriveLibMgr(std::unique_ptr<CTplRec> discNames) : discNames_(std::move(discNames)) {}

CDriveLibMgr::~CDriveLibMgr() = default;

void CDriveLibMgr::SetDiscNames(std::unique_ptr<CTplRec> discNames) { discNames_ = std::move(discNames); }

std::unique_ptr<CFileSpec> CDriveLibMgr::FindDisc(int32_t disc)
{
    if (!discNames_ || disc < 0 || disc >= discNames_->GetEntryCount())
        return nullptr;
    const CStr* name = discNames_->GetEntry(disc);
    if (!name || name->GetLength() == 0)
        return nullptr;
    bool removable = false;
    std::unique_ptr<CFileSpec> folder = FindLibraryOnDrives(name->GetText(), removable);
    if (folder) {
        foundOnRemovable_ = removable;
        foundFolder_ = std::make_unique<CFileSpec>(*folder);
        foundDisc_ = disc;
    }
    return folder;
}

std::unique_ptr<CFileSpec> CDriveLibMgr::FindLibraryOnDrives(const char* name, bool& removable) const
{
    removable = false;
    for (const plat::Drive& drive : plat::GetDrives()) {
        if (drive.kind == plat::DriveKind::Removable)
            continue;
        std::string path = std::string(1, drive.letter) + ":\\" + name;
        auto spec = std::make_unique<CFileSpec>(path.c_str());
        if (!spec->Exists())
            continue;
        removable = drive.kind == plat::DriveKind::CdRom;
        spec->RemoveFileName();
        return spec;
    }
    return nullptr;
}

void CDriveLibMgr::RemoveLibrariesWithMask(uint32_t bits)
{
    CLibNode* node = GetFirstNode();
    while (node) {
        CLibNode* next = node->next;
        if ((node->library->GetMask() & bits) == bits)
            RemoveLibrary(node->library.get()); // the library goes with the returned pointer
        node = next;
    }
}

CDriveLibMgr* GetDriveLibMgr() { return dynamic_cast<CDriveLibMgr*>(GetLibMgr()); }
