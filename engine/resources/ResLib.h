#pragma once
// CResLib: the resource library interface that the library manager asks for resources by
// type and number, and the state every library shares: name, status, open and writable flags,
// and the identity read from the library's own "LID" 1 record (mask, version, id, two texts).
//
// Every operation leaves a status that the caller reads back with GetStatus:
//   0 success            1 range or size check failed   2 not open
//   3 no such resource   4 library or resource file missing or not openable
//   5 no such type       6 read error                   7 write error
//   8 closed             9 not supported by this library kind
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/framework/Str.h"
#include "engine/resources/RsrcBlock.h"

class CFile;
class CFileSpec;

constexpr int16_t kLibOk = 0;
constexpr int16_t kLibBadRange = 1;
constexpr int16_t kLibNotOpen = 2;
constexpr int16_t kLibNotFound = 3;
constexpr int16_t kLibNoFile = 4;
constexpr int16_t kLibNoType = 5;
constexpr int16_t kLibReadError = 6;
constexpr int16_t kLibWriteError = 7;
constexpr int16_t kLibClosed = 8;
constexpr int16_t kLibUnsupported = 9;

// Library kinds (GetKind).
constexpr int16_t kLibKindBase = 0;
constexpr int16_t kLibKindFolder = 2;
constexpr int16_t kLibKindSingleFile = 3;

// A library's identity as its "LID" 1 record gives it.
struct LibIdentity {
    uint32_t mask = 0xFFFFFFFF;
    uint32_t version = 0;
    int32_t id = 0;
    std::unique_ptr<CStr> firstText;
    std::unique_ptr<CStr> secondText;
};

// Compiles a loaded "LID" record as a typed record (ulong mask, ulong version, long id,
// string, string) into an identity; false when the record is empty. A record cut short
// leaves the fields it does not reach at their defaults (LibIdRecord.cpp).
bool CompileLibId(std::unique_ptr<CRsrcBlock> record, LibIdentity& out);

class CResLib {
public:
    // Reads exactly n bytes of a resource, starting `at` bytes into it; false when they cannot
    // all be read.
    using ResourceReader = std::function<bool(void* buffer, int32_t at, int32_t n)>;

    CResLib() = default;
    CResLib(const CResLib&) = delete;
    CResLib& operator=(const CResLib&) = delete;
    virtual ~CResLib() = default;

    virtual void Open();
    virtual bool CanWrite() const { return writable_; }
    virtual bool CanDelete() const { return writable_; }
    virtual void Close();
    virtual bool DeleteResource(const char* type, int32_t id);
    virtual bool HasResource(const char* type, int32_t id) = 0;
    virtual int16_t GetStatus() const { return status_; }
    // A new block holding the whole resource, or null.
    virtual std::unique_ptr<CRsrcBlock> LoadResource(const char* type, int32_t id, bool report) = 0;
    // A newly opened file positioned at the resource's first byte; the resource's position in
    // that file goes to offset, its size to size (each only when not null).
    virtual std::unique_ptr<CFile> OpenResourceFile(const char* type, int32_t id, int32_t* offset,
                                                    int32_t* size, bool report) = 0;
    // The file that holds the resource.
    virtual std::unique_ptr<CFileSpec> GetResourceFileSpec(const char* type, int32_t id) = 0;
    // Seconds since 1970-01-01 00:00 UTC; 0 when absent.
    virtual uint32_t GetResourceTime(const char* type, int32_t id) = 0;
    // -1 when absent.
    virtual int32_t GetResourceSize(const char* type, int32_t id) = 0;
    // The number of the index-th resource of a type; -1 when none.
    virtual int32_t GetResourceId(const char* type, int16_t index) = 0;
    virtual int32_t GetId() const { return id_; }
    virtual uint32_t GetMask() const { return mask_; }
    virtual int16_t GetKind() const { return kind_; }
    virtual uint32_t GetVersion() const { return version_; }
    // Copies at most count bytes of the resource, starting offset bytes into it.
    virtual int16_t ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                                 bool report) = 0;
    virtual bool IsOpen() const { return open_; }
    virtual int16_t WriteResource(const char* type, int32_t id, const void* data, int32_t size, bool report,
                                  int16_t mode);
    virtual int16_t SetResourceTime(const char* type, int32_t id, int32_t time) = 0;
    virtual void SetId(int32_t id) { id_ = id; }

    // The library's file or folder name; empty until an identity record is read.
    const CStr& GetName() const { return name_; }
    // Replaces the name; null gives an empty name.
    void SetName(std::unique_ptr<CStr> name);
    const CStr* GetFirstText() const { return firstText_.get(); }
    const CStr* GetSecondText() const { return secondText_.get(); }
    void SetMask(uint32_t mask) { mask_ = mask; }

    // Reads the identity record "LID" 1 through the library's own LoadResource (only when the
    // status is 0). Without one the identity stays as it is and the status is 0; with one, the
    // name becomes the last component of the given file path.
    void ReadLibId(const CFileSpec* spec);

    // "%0*ld.%.3s" of (6, id, type), or with pattern "%0*ld*.%.3s".
    static std::unique_ptr<CStr> MakeFileName(const char* type, int32_t id, bool pattern);

protected:
    // LoadResource's block: a new block holding the whole resource of `size` bytes. Null with
    // status 1 when the block cannot be had, 6 when the bytes cannot be read; the status is
    // left as it is on success.
    std::unique_ptr<CRsrcBlock> ReadBlock(const char* type, int32_t id, int32_t size,
                                          const ResourceReader& read);
    // ReadResource's part of a resource of `size` bytes: from offset, at most count bytes and
    // never past the resource's end. Sets and returns the status: 1 for a negative offset or
    // count, an offset past the end or no buffer; 6 when nothing is left to read (an offset at
    // the very end reads nothing, which is an error as for any file) or the read fails.
    int16_t ReadPart(int32_t size, void* buffer, int32_t offset, int32_t count, const ResourceReader& read);

    CStr name_;
    int16_t kind_ = kLibKindBase;
    int16_t status_ = kLibNotOpen;
    bool open_ = false;
    bool writable_ = false;
    uint32_t mask_ = 0xFFFFFFFF;
    uint32_t version_ = 0;
    int32_t id_ = 0;
    std::unique_ptr<CStr> firstText_;
    std::unique_ptr<CStr> secondText_;
};

// Reads exactly count bytes at a position of an open file; false on any error or short read.
bool ReadFileExactly(CFile& file, void* buffer, int32_t position, int32_t count);

// The test a library makes before it uses a path as a file or as a folder. By default the path
// must name a file (a folder). Under the launcher's path test the path must pass
// CFileSpec::Exists, which opens a file for reading or tries a folder, and which may drop one
// trailing backslash from the path.
bool LibraryFileFound(CFileSpec& spec);
bool LibraryFolderFound(CFileSpec& spec);

// Ends the program with the report of a missing resource: engine message 6, the type, a blank
// and the number, from the given source and line.
void ReportMissingResource(const char* type, int32_t id, const char* source, uint32_t line);

// Compares a type with a known type name with A-Z folded to a-z (null matches nothing).
bool IsType(const char* type, const char* name);
// Keeps null type arguments away from the format code.
inline const char* TypeText(const char* type) { return type ? type : ""; }
