#pragma once
// CFoldLib: the folder library. Each resource is a file of its own: the library folder holds
// a sub-folder per type named by the full type, and a type folder holds one file per
// resource whose name starts with the number padded to six digits and ends with a dot and the
// type's first three characters ("000123.CBM", also found as "000123 house.CBM"). Sub-folders
// of a type folder are alternative folders searched when the type folder lacks a resource;
// those named "(...)" are ignored. It is the one library kind that accepts writes.
#include <memory>
#include <vector>

#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/ResLib.h"

// A type folder found when the library was opened, with the names of its alternative folders.
class CFoldType {
public:
    explicit CFoldType(const char* name) : name_(name) {}
    const CStr& GetName() const { return name_; }
    CTplRec& GetFolders() { return folders_; }
    const CTplRec& GetFolders() const { return folders_; }
    void SetName(std::unique_ptr<CStr> name) { name_ = name ? *name : CStr(); }

private:
    CStr name_;
    CTplRec folders_;
};

class CFoldLib : public CResLib {
public:
    CFoldLib();
    // Opens the folder named by a path (OpenFile) or by a CFileSpec (OpenFileSpec).
    explicit CFoldLib(const char* path);
    explicit CFoldLib(const CFileSpec& spec);
    ~CFoldLib() override;

    bool CanWrite() const override { return true; }
    bool CanDelete() const override { return true; }
    bool DeleteResource(const char* type, int32_t id) override;
    bool HasResource(const char* type, int32_t id) override;
    std::unique_ptr<CRsrcBlock> LoadResource(const char* type, int32_t id, bool report) override;
    std::unique_ptr<CFile> OpenResourceFile(const char* type, int32_t id, int32_t* offset, int32_t* size,
                                            bool report) override;
    std::unique_ptr<CFileSpec> GetResourceFileSpec(const char* type, int32_t id) override;
    // The file's modification time.
    uint32_t GetResourceTime(const char* type, int32_t id) override;
    int32_t GetResourceSize(const char* type, int32_t id) override;
    // The number of the index-th file of the type folder (alternative folders not included).
    int32_t GetResourceId(const char* type, int16_t index) override;
    int16_t ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                         bool report) override;
    // Writes the whole resource file, creating its folder and file when needed; report and
    // mode are not used by this library kind.
    int16_t WriteResource(const char* type, int32_t id, const void* data, int32_t size, bool report,
                          int16_t mode) override;
    // Sets the file's access and modification times: 0, or 2 absent, 10 access denied,
    // 4 too many open files, 1 any other failure.
    int16_t SetResourceTime(const char* type, int32_t id, int32_t time) override;

    virtual void OpenFileSpec(const CFileSpec* spec);
    virtual void OpenFile(const char* path);

    // The path of the file that holds the resource, or null (status 3). Types that could name
    // a place outside the library folder (holding '\', '/', ':' or "..") are never found.
    std::unique_ptr<CFileSpec> FindFile(const char* type, int32_t id);
    // The number formed by the first six characters of a file name (0 when none).
    static int32_t IdFromFileName(const char* name);

    const CFileSpec* GetFolder() const { return folder_.get(); }
    // The type folders found at opening, in listing order.
    const std::vector<std::unique_ptr<CFoldType>>& GetTypes() const { return types_; }

    // The result SetResourceTime gives for the error number of a failed time change.
    static int16_t TimeErrorResult(int error);

private:
    void ScanTypeFolders();
    // The first file in a folder matching the pattern, or null.
    std::unique_ptr<CFileSpec> SearchFolder(const CFileSpec& folder, const CStr& pattern);
    std::unique_ptr<CFileSpec> TypeFolder(const char* type) const;

    std::unique_ptr<CFileSpec> folder_;
    std::vector<std::unique_ptr<CFoldType>> types_;
};
