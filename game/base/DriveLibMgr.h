#pragma once
// CDriveLibMgr: the game's library manager. Besides the open libraries it knows the names of
// the discs' marker files (string list 90: entry 0 is the folder a disc's libraries lie in,
// entry n the file whose presence in a drive's root marks disc n) and finds a disc among
// the configured drives. Removable (floppy) drives are never searched.
#include <cstdint>
#include <memory>

#include "engine/resources/LibMgr.h"

class CFileSpec;
class CTplRec;

class CDriveLibMgr : public CLibMgr {
public:
    // The mask bit of every library opened for a disc of number 1 or more.
    static constexpr uint32_t kDiscMaskBit = 0x10000000;

    explicit CDriveLibMgr(std::unique_ptr<CTplRec> discNames = nullptr);
    ~CDriveLibMgr() override;

    // Replaces the disc names (the record held before is deleted).
    void SetDiscNames(std::unique_ptr<CTplRec> discNames);
    const CTplRec* GetDiscNames() const { return discNames_.get(); }

    // The folder holding disc n's marker file (a new spec the caller owns), or null when the
    // disc has no name or no drive holds it. A find is remembered with its drive kind.
    virtual std::unique_ptr<CFileSpec> FindDisc(int32_t disc);
    // Unlinks and deletes every library whose mask holds all the bits.
    virtual void RemoveLibrariesWithMask(uint32_t bits);

    // The folder of the first drive root (removable drives skipped) holding the file, or null;
    // removable tells whether that drive is a CD-ROM drive.
    std::unique_ptr<CFileSpec> FindLibraryOnDrives(const char* name, bool& removable) const;

    const CFileSpec* GetFoundFolder() const { return foundFolder_.get(); }
    int32_t GetFoundDisc() const { return foundDisc_; }
    bool FoundOnRemovable() const { return foundOnRemovable_; }

private:
    std::unique_ptr<CTplRec> discNames_;
    std::unique_ptr<CFileSpec> foundFolder_;
    int32_t foundDisc_ = 0;
    bool foundOnRemovable_ = false;
};

// The application's library manager as the game's, or null when another kind is installed.
CDriveLibMgr* GetDriveLibMgr();
