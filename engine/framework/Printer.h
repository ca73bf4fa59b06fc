#pragma once
// CPrinter: the application's printer object. It runs print set-up, keeping the printer
// choice for every later job, and drives one print job through its states (environment
// made, document started, page started), ending whatever is open in the right order.
//
// The drawing of a job goes through a printer drawing environment, which belongs to the
// graphics code above this layer: the printer object sees it through CPrintJobEnv and gets
// it from the factory the graphics code installs (SetPrintEnvFactory).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "engine/framework/Rect.h"
#include "platform/Dialogs.h"

class CDrawEnv;
class CPrinter;
class CStr;

// What the printer object asks of a job's drawing environment.
class CPrintJobEnv {
public:
    virtual ~CPrintJobEnv() = default;
    // The environment the job prints from; null links the environment to itself.
    virtual void SetLinkedEnv(CDrawEnv* env) = 0;
    virtual bool EndPage() = 0;
    virtual bool StartPage() = 0;
    virtual bool EndDoc() = 0;
    virtual bool StartDoc(const CRect& page, const CStr* name) = 0;
    // What the job's clip scope does when it ends: drops the clip region.
    virtual void ClearClipRgn() = 0;
};

// Makes the environment of a job for the printer and its job flag; null when none could be
// made (the print dialog was cancelled, say). Without a factory no job can begin.
using PrintEnvFactory = std::function<std::unique_ptr<CPrintJobEnv>(CPrinter& printer, uint8_t flag)>;
void SetPrintEnvFactory(PrintEnvFactory factory);

// The printer chosen in print set-up, kept for the whole program so that every later print
// environment and set-up dialog starts from it; none at first.
const std::optional<plat::PrintSetupResult>& GetPrinterChoice();
void SetPrinterChoice(std::optional<plat::PrintSetupResult> choice);

// Back to no factory and no printer choice.
void ResetPrinting();

// The owner of the print and print set-up dialogs: the program's top window.
using PrintOwnerSource = std::function<plat::WindowHandle()>;
void SetPrintOwnerSource(PrintOwnerSource source);

class CPrinter {
public:
    // Job states.
    enum : int32_t { kIdle = 0, kEnvMade = 1, kDocStarted = 2, kPageStarted = 3 };

    CPrinter() = default;
    virtual ~CPrinter();
    CPrinter(const CPrinter&) = delete;
    CPrinter& operator=(const CPrinter&) = delete;

    // The print set-up dialog; a confirmed choice replaces the kept one.
    void PrintSetup();
    // A print or print set-up dialog's request: owned by the top window, pages 1 to the page
    // count (1 when there is none or more than the dialog takes), one copy, starting from the
    // kept printer choice.
    plat::PrintSetupRequest MakeDialogRequest(plat::PrintDialogKind kind) const;

    // Makes the job's environment and links `linked` to it; null when none could be made.
    // A job still running is ended first.
    CPrintJobEnv* BeginJob(uint8_t flag, CDrawEnv* linked);
    // 0 on success (state 2), 1 on failure.
    int32_t StartDocument(const CStr* name);
    // 0 on success (state 3), 1 on failure.
    int32_t StartPage();
    int32_t EndPage() { return EndTo(kDocStarted); }
    int32_t EndDocument() { return EndTo(kEnvMade); }
    int32_t EndJob() { return EndTo(kIdle); }
    // Ends page, document and environment, from the top, while the state is above `level`.
    // Answers 1 when ending the page failed, else 0; the rest of the teardown goes on.
    int32_t EndTo(int32_t level);
    int32_t Finish() { return EndTo(kIdle); }

    uint16_t GetPageCount() const { return pageCount_; }
    // The first and last page confirmed in a print dialog.
    void SetFromPage(uint16_t page) { fromPage_ = page; }
    void SetToPage(uint16_t page) { pageCount_ = page; }
    uint16_t GetFromPage() const { return fromPage_; }

    int32_t GetState() const { return state_; }
    uint8_t GetJobFlag() const { return jobFlag_; }
    const CRect& GetPageRect() const { return pageRect_; }
    CPrintJobEnv* GetEnv() const { return env_.get(); }

private:
    // The job's clip scope lives exactly as long as its environment: it is ended before the
    // environment is deleted.
    bool clipScope_ = false;
    std::unique_ptr<CPrintJobEnv> env_;
    CRect pageRect_;
    int32_t state_ = kIdle;
    uint16_t pageCount_ = 0;
    uint16_t fromPage_ = 1;
    uint8_t jobFlag_ = 0;
};
