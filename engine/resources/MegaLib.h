#pragma once
// CMegaLib: the single-file library. One file holds a big-endian header, the resources' data
// and a directory of 20-byte entries sorted by type and number (see MegaFormat.h). It reads
// resources, opens a file positioned at a resource for streaming, and deletes a resource by
// marking its directory entry absent and writing that entry back; it cannot add or rewrite
// resource data.
#include "engine/resources/MegaFormat.h"
#include "engine/resources/ResLib.h"

class CMegaLib : public CResLib {
public:
    CMegaLib();
    // Opens the library file named by a path (OpenFile) or by a CFileSpec (OpenFileSpec).
    explicit CMegaLib(const char* path);
    explicit CMegaLib(const CFileSpec& spec);
    ~CMegaLib() override;

    // Reads the header and the directory; only while not open.
    void Open() override;
    bool CanWrite() const override { return false; }
    bool CanDelete() const override { return true; }
    void Close() override;
    bool DeleteResource(const char* type, int32_t id) override;
    bool HasResource(const char* type, int32_t id) override;
    std::unique_ptr<CRsrcBlock> LoadResource(const char* type, int32_t id, bool report) override;
    std::unique_ptr<CFile> OpenResourceFile(const char* type, int32_t id, int32_t* offset, int32_t* size,
                                            bool report) override;
    std::unique_ptr<CFileSpec> GetResourceFileSpec(const char* type, int32_t id) override;
    // The library's time stamp (all its resources share it) when the resource exists.
    uint32_t GetResourceTime(const char* type, int32_t id) override;
    int32_t GetResourceSize(const char* type, int32_t id) override;
    int32_t GetResourceId(const char* type, int16_t index) override;
    int16_t ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                         bool report) override;
    int16_t WriteResource(const char* type, int32_t id, const void* data, int32_t size, bool report,
                          int16_t mode) override;
    int16_t SetResourceTime(const char* type, int32_t id, int32_t time) override;

    // Only while no file path and no open file are held.
    virtual void OpenFile(const char* path);
    virtual void OpenFileSpec(const CFileSpec* spec);

    // The header and directory as read, for tools and tests.
    const MegaDirectory& GetDirectory() const { return dir_; }
    uint32_t GetTimeStamp() const { return stamp_; }

private:
    void ClearFields();
    // The present entry of (type, id), setting status 0, or null with status 3.
    const MegaEntry* FindPresent(const char* type, int32_t id);
    // Reads the data of a directory entry from the open file.
    ResourceReader EntryReader(const MegaEntry& entry);
    bool ReopenFile(int32_t mode);
    // Writes count entries from first back to the directory in the file.
    bool WriteBackEntries(int32_t first, int32_t count);

    std::unique_ptr<CFileSpec> spec_;
    std::unique_ptr<CFile> file_;
    MegaDirectory dir_;
    uint32_t stamp_ = 0; // the header's stamp, or the file's time when that is 0
};
