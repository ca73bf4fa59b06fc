#pragma once
// The common dialogs: choosing a file to open or to save under, print set-up and printing. The
// engine fills in a request and gets back the user's answer, or nothing when the user cancelled.
// The null backend answers from a script and keeps a log of what it was asked, so tests
// can check both sides.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/MessageQueue.h"

namespace plat {

// One entry of a file dialog's type list, such as {"Saved games", "*.sav"}.
struct FileFilter {
    std::string description;
    std::string pattern;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    WindowHandle owner = 0;
    std::string title;
    std::string initialFolder; // engine path; empty for the current folder
    std::string fileName;      // the name the name field starts with
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // added to a chosen name that has no extension
    bool fileMustExist = false;    // open: only an existing file is accepted
    bool folderMustExist = false;  // save: the chosen folder must exist
    bool confirmOverwrite = false; // save: ask before replacing an existing file
};

// What a printer can do, as a program asks its device: the printable area in pixels, the
// resolution, the unprintable strip at the paper's left and top edges, and whether it can
// stretch bitmaps itself. The values given here are the default printer's: a letter page at
// 300 dots per inch.
struct PrinterCaps {
    int32_t width = 2550;
    int32_t height = 3300;
    int32_t dpiX = 300;
    int32_t dpiY = 300;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    bool canStretch = true;
    bool operator==(const PrinterCaps&) const = default;
};

// The answer of a print or print set-up dialog: the pages and copies asked for, and the printer
// chosen. The printer writes each page as a picture file into its folder (a host path).
struct PrintSetupResult {
    int fromPage = 1;
    int toPage = 1;
    int copies = 1;
    std::filesystem::path folder = {};
    PrinterCaps caps = {};
};

// The printer a dialog starts from when the program keeps no choice: the default capabilities,
// writing into $XDG_DATA_HOME/kvl/prints (~/.local/share/kvl/prints when it is not set). Tests
// replace it; nullopt goes back to the built-in one.
PrintSetupResult DefaultPrinterChoice();
void SetDefaultPrinterChoice(std::optional<PrintSetupResult> choice);

enum class PrintDialogKind { Setup, Print };

struct PrintSetupRequest {
    PrintDialogKind kind = PrintDialogKind::Setup;
    WindowHandle owner = 0;
    int fromPage = 1;
    int toPage = 1;
    int minPage = 1;
    int maxPage = 1;
    int copies = 1;
    // What the print dialog offers besides the page range.
    bool pageNumbers = true;
    bool selection = true;
    bool printToFile = true;
    // The printer the dialog starts from: the kept choice, or none for the default printer.
    std::optional<PrintSetupResult> choice = std::nullopt;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // The full engine path the user chose, or nullopt on cancel.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
    // The confirmed settings, or nullopt on cancel.
    virtual std::optional<PrintSetupResult> PrintSetup(const PrintSetupRequest& request) = 0;
    // The print dialog: the pages to print and the printer, or nullopt on cancel.
    virtual std::optional<PrintSetupResult> Print(const PrintSetupRequest& request) = 0;
};

// The name as a file dialog completes it: a name without an extension gets the default one.
std::string AddDefaultExtension(const std::string& name, const std::string& extension);

// Headless dialogs. Each call is logged and answered with the next queued answer of its
// kind; with none queued the dialog is cancelled. Print and print set-up share one queue and
// one log. A queued file name that is not a full
// path is taken relative to the request's initial folder (the current folder when it has
// none), as if typed into the name field.
class ScriptedDialogs : public DialogService {
public:
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<PrintSetupResult> PrintSetup(const PrintSetupRequest& request) override;
    std::optional<PrintSetupResult> Print(const PrintSetupRequest& request) override;

    void QueueFile(std::string path) { fileAnswers_.push_back(std::move(path)); }
    void QueueFileCancel() { fileAnswers_.push_back(std::nullopt); }
    // Confirms a print or print set-up dialog; with no result given, the request's pages and
    // copies and the printer it started from are kept.
    void QueuePrintSetup(std::optional<PrintSetupResult> result = std::nullopt);
    void QueuePrintCancel() { printAnswers_.push_back(PrintAnswer{false, {}}); }

    const std::vector<FileDialogRequest>& FileLog() const { return fileLog_; }
    const std::vector<PrintSetupRequest>& PrintLog() const { return printLog_; }
    void Clear();

private:
    std::optional<PrintSetupResult> AnswerPrint(const PrintSetupRequest& request);

    struct PrintAnswer {
        bool ok = false;
        std::optional<PrintSetupResult> result;
    };
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<PrintAnswer> printAnswers_;
    std::vector<FileDialogRequest> fileLog_;
    std::vector<PrintSetupRequest> printLog_;
};

// The service in use; the scripted one unless a backend installed another.
DialogService& GetDialogService();
ScriptedDialogs& GetScriptedDialogs();
// Installs a service (not owned); nullptr restores the scripted one.
void SetDialogService(DialogService* service);
// Clears the script and the log and restores the scripted service.
void ResetDialogs();

} // namespace plat
