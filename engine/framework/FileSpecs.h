#pragma once
// CFileSpec: names a file or folder by a full engine path ("C:\DATA\GAME.QMD") and keeps the
// status of the last operation. It builds paths, tests what they name, creates, deletes,
// renames and moves, and runs the open and save file dialogs. Paths reach the host file
// system through the platform's drive mapping.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "engine/framework/Str.h"
#include "platform/MessageQueue.h"

// One entry of a file dialog's type list.
struct CFileFilter {
    const char* description;
    const char* pattern; // such as "*.sav"
};

class CFileSpec {
public:
    // Status values.
    static constexpr int16_t kOk = 0;            // the path exists, or the operation succeeded
    static constexpr int16_t kFailed = 1;        // the operation failed
    static constexpr int16_t kProgramFolder = 2; // made for the program's own folder
    static constexpr int16_t kMissing = 3;       // the path does not exist
    static constexpr int16_t kCancelled = 7;     // the file dialog was cancelled

    // The program's own folder, ending in a backslash; status 2.
    CFileSpec();
    explicit CFileSpec(const char* path);
    CFileSpec(const CFileSpec& other) = default;
    CFileSpec& operator=(const CFileSpec& other) = default;
    virtual ~CFileSpec() = default;

    // A text shorter than 2 characters, starting with a backslash or with ':' as its second
    // character is taken as it is; any other text is joined to the current folder. The
    // status then tells whether the path exists (0) or not (3). Null or empty: nothing.
    void SetPath(const char* text);
    // path + backslash (unless it ends in one) + name; status 0 or 3.
    void Append(const char* name);
    const char* GetPath() const { return path_ ? path_->c_str() : nullptr; }
    int16_t GetError() const { return status_; }

    // The text behind the last backslash (empty for a spec without a path).
    std::unique_ptr<CStr> GetFileName() const;
    // Cuts the path just behind its last backslash, so that it names the folder; unchanged
    // when that backslash is at index 0 or 1 or there is none.
    void RemoveFileName();

    // Whether the path names something. By default: the system knows the path. Under the
    // launcher's path test: a file that opens for reading, or a folder that could be made
    // current; then one trailing backslash is removed from the stored path, found or not.
    bool Exists();
    bool IsFile() const;
    bool IsFolder() const;
    // True when the file has no write permission (status 0), or when it is not found
    // (status 1).
    bool IsReadOnly();

    // Creates the file (empty) or the folder when the path does not exist yet: status 0 on
    // success, 1 on failure. An existing path keeps its status. The Macintosh type and
    // creator codes are accepted and have no effect here.
    void Create(bool asFile, uint32_t macType = 0, uint32_t macCreator = 0);
    // Deletes the file: 0, or the system's error number.
    int16_t Delete();
    // Moves the file to newPath, which becomes the path: status 0, or 1 on failure (an
    // existing file at newPath is never replaced). A null newPath returns 1.
    int16_t Rename(const char* newPath);
    // Moves the file into the folder under its own name; returns the status.
    int16_t MoveInto(const CFileSpec& folder);

    // The file dialogs start from this path and replace it with the user's choice (status
    // 0); a cancel leaves the path and sets status 7. The filters list the file types in
    // order; the save dialog adds the first type's extension to a name without one.
    virtual int16_t OpenDialog(const CFileFilter* filters, int16_t count, const char* title,
                               plat::WindowHandle owner = 0);
    int16_t SaveDialog(const CFileFilter* filters, int16_t count, const char* title,
                       plat::WindowHandle owner = 0);

    // The host path the engine path maps to; nullopt without a path or on an unknown drive.
    std::optional<std::filesystem::path> HostPath() const;

private:
    int16_t RunDialog(bool save, const CFileFilter* filters, int16_t count, const char* title,
                      plat::WindowHandle owner);
    // The status records whether the system knows the path, under either path test.
    void SetStatusByExistence() { status_ = Found() ? kOk : kMissing; }
    bool Found() const;
    bool OpensForReading() const;
    bool CouldBeMadeCurrent() const;

    int16_t status_ = kOk;
    std::optional<std::string> path_;
};
