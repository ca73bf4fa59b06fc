#pragma once
// CDirScan: lists one folder once, at construction: the names of the files that match a
// wildcard pattern and the names of all its sub-folders, in the platform's listing order.
// The process's current folder is never changed.
#include <cstdint>

#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"

class CFileSpec;

class CDirScan {
public:
    // Lists the folder named by a CFileSpec (or by a path text) with the pattern; a null pattern
    // stands for "*.*". The two middle arguments are not used (callers pass 0).
    CDirScan(const CFileSpec& folder, int32_t unused1, int32_t unused2, const char* pattern);
    CDirScan(const char* path, int32_t unused1, int32_t unused2, const char* pattern);
    // Lists the program's folder with "*.*".
    CDirScan();
    CDirScan(const CDirScan&) = delete;
    CDirScan& operator=(const CDirScan&) = delete;

    // The index-th name (the scan keeps it); null when index is not below the count.
    CStr* GetFile(int32_t index) const { return files_.GetEntry(index); }
    CStr* GetFolder(int32_t index) const { return folders_.GetEntry(index); }
    int32_t GetFileCount() const { return files_.GetEntryCount(); }
    int32_t GetFolderCount() const { return folders_.GetEntryCount(); }

private:
    void Scan(const char* path, const char* pattern);

    CTplRec files_;
    CTplRec folders_;
    CStr pattern_;
};
