#pragma once
// CDoc: a document the application saves and loads as a whole (a saved game). A file starts
// with a 10-byte big-endian header, "VORT", the document type and a version, and goes on as
// a sequence of typed values, multi-byte numbers big-endian (a float is kept as a
// little-endian double, as stored files have it).
//
// Every operation leaves an error code in the document. Once it is non-zero, later reads and
// writes do nothing, so a caller issues a whole record and tests the error once.
//
// Saving is atomic. The sequence is
//
//   OpenForSave, WriteHeader, typed writes, CommitSave, then test the error.
//
// OpenForSave writes to a new temporary file beside the target; CommitSave renames it over
// the target only when every write succeeded (error 0), mapping a failed rename to 3, 4, 5
// or 6. With any other error CommitSave removes the temporary file, and so does closing the
// file, opening the document again or destroying it without a commit. The previous file is
// never touched by a save that fails, so callers must never delete the target after a failed
// save: it still holds the last good save.
//
// Loading: OpenForLoad, ReadHeader, typed reads, then test the error.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Memory.h"
#include "engine/framework/Point.h"
#include "engine/framework/Rect.h"
#include "engine/framework/Str.h"

class CDoc {
public:
    // Error codes.
    static constexpr int16_t kOk = 0;
    static constexpr int16_t kNoFileChosen = 1;     // the save dialog was cancelled
    static constexpr int16_t kTooManyOpenFiles = 3; // replacing the target failed, by cause
    static constexpr int16_t kInvalidHandle = 4;
    static constexpr int16_t kAccessDenied = 5;
    static constexpr int16_t kStreamFailure = 6; // no file, open, create, read or write failed
    static constexpr int16_t kBadMagic = 7;
    static constexpr int16_t kWrongType = 8;
    static constexpr int16_t kBadVersion = 9;

    static constexpr uint32_t kMagic = 0x564F5254; // "VORT"
    static constexpr int32_t kHeaderSize = 10;

    // The type description and pattern (such as "Saved games", "*.qm3") may be null; the
    // name is the default file name until the document has a file spec.
    CDoc(const char* typeDescription, const char* typePattern, const char* name,
         std::unique_ptr<CFileSpec> spec);
    CDoc(const CDoc&) = delete;
    CDoc& operator=(const CDoc&) = delete;
    virtual ~CDoc();

    int16_t GetError() const { return error_; }
    void SetError(int16_t error) { error_ = error; }
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // A non-null text replaces the old one; null changes nothing.
    void SetTypeDescription(const char* text);
    void SetTypePattern(const char* text);

    bool HasFileSpec() const { return spec_ != nullptr; }
    const CFileSpec* GetFileSpec() const { return spec_.get(); }
    // The last component of the file spec's path, or the document's name without one.
    std::unique_ptr<CStr> GetFileName() const;
    // Takes the file spec and opens the document for saving there.
    int16_t SetFileSpec(std::unique_ptr<CFileSpec> spec);
    // Takes the file spec (null drops it) and opens nothing; an uncommitted save is dropped.
    void ReplaceFileSpec(std::unique_ptr<CFileSpec> spec);

    // Opens the file spec's file for reading at offset 0.
    virtual int16_t OpenForLoad();
    // Opens a temporary file for the save; without a spec the user picks the file first in
    // the save dialog, with every window paused around it.
    virtual int16_t OpenForSave(plat::WindowHandle owner, const char* title);
    // Ends a save: see the top of this file.
    int16_t CommitSave();
    // Closes the open file. An uncommitted save is dropped, its temporary file removed.
    void CloseFile();

    int16_t ReadHeader(uint32_t type, uint16_t lowest, uint16_t highest);
    int16_t WriteHeader(uint32_t type, uint16_t version);
    // The version read by the last successful ReadHeader.
    uint16_t GetVersion() const { return version_; }

    int16_t Write(const void* data, int32_t n);
    int16_t Read(void* data, int32_t n);

    CDoc& WriteByte(uint8_t v);
    CDoc& ReadByte(uint8_t& v);
    CDoc& WriteShort(int16_t v);
    CDoc& ReadShort(int16_t& v);
    CDoc& WriteLong(int32_t v);
    CDoc& ReadLong(int32_t& v);
    CDoc& WriteDouble(double v);
    CDoc& ReadDouble(double& v);
    // The float widened to a double, stored little-endian.
    CDoc& WriteFloat(float v);
    CDoc& ReadFloat(float& v);
    // h, then v.
    CDoc& WritePoint(const CPoint& p);
    CDoc& ReadPoint(CPoint& p);
    // top, left, bottom, right.
    CDoc& WriteRect(const CRect& r);
    CDoc& ReadRect(CRect& r);
    // A 32-bit length, then the bytes.
    CDoc& WriteString(const CStr& s);
    CDoc& ReadString(CStr& s);
    CDoc& WriteCounted(const void* data, int32_t n);
    // Fills the buffer with the stored count of bytes, which goes to `stored` when given. A
    // stored count below 0, above the capacity or above what the file still holds is error 6
    // and nothing is read.
    CDoc& ReadCounted(void* buffer, int32_t capacity, int32_t* stored = nullptr);
    CDoc& WriteBlock(CMemory& block);
    // Resizes the block to the stored size and fills it (the same checks as ReadCounted).
    CDoc& ReadBlock(CMemory& block);

    // With output off, writes only count their bytes (a measuring pass).
    void SetOutput(bool on) { output_ = on; }
    bool IsOutputOn() const { return output_; }
    int32_t GetByteCount() const { return byteCount_; }
    // Bytes between the file's position and its end (0 without a file): readers check a
    // stored count against it before making what the count promises.
    int32_t Remaining();

private:
    std::unique_ptr<CFileSpec> RunSaveDialog(plat::WindowHandle owner, const char* title);
    bool OpenTemporaryFile();
    int16_t ReplaceTarget();
    // Closes the file and removes an uncommitted temporary file.
    void DropSave();
    // The stored length of a counted value, checked against the capacity and the file.
    bool ReadLength(int32_t capacity, int32_t& n);
    CDoc& WriteBytes(uint64_t v, int bytes);
    CDoc& ReadBytes(uint64_t& v, int bytes);

    std::unique_ptr<CFile> file_;
    std::unique_ptr<CFileSpec> spec_;
    int16_t error_ = kOk;
    bool modified_ = false;
    bool output_ = true;
    int32_t byteCount_ = 0;
    std::unique_ptr<CStr> typeDescription_;
    std::unique_ptr<CStr> typePattern_;
    CStr name_;
    uint16_t version_ = 0;
    std::optional<std::string> tempPath_; // the save being written, until it is committed
};
