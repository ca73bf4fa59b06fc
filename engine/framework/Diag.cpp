#include "engine/framework/Diag.h"

#include <cstdio>

#include "engine/framework/Appl.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "platform/Fatal.h"

namespace {

bool g_debugSwitch = false;

// The longest body the report box shows, as its 512-byte buffer always held.
constexpr size_t kMaxBody = 511;

[[noreturn]] void EndProgram()
{
    if (CBaseAppl* app = GetApplication()) {
        CMessage last(kMsgFatal, 0, 0, -1);
        DeliverMessage(*app, last, nullptr, false);
    }
    plat::Fatal("Exiting application.");
}

} // namespace

std::string FormatReportBody(const char* caption, const char* message, const char* sourceFile, uint32_t line)
{
    std::string head = std::string(caption ? caption : "") + ": ";
    std::string text = message ? message : "";
    std::string file = sourceFile ? sourceFile : "";
    char lineText[16];
    std::snprintf(lineText, sizeof lineText, "%u", line);
    const std::string tail = std::string("  Line: ") + lineText;
    const std::string fileLabel = "\r\rFile: ";

    const size_t fixed = head.size() + fileLabel.size() + tail.size();
    if (fixed + text.size() + file.size() > kMaxBody) {
        // The file and line say where: keep them, shorten the message first.
        const size_t roomForText = kMaxBody > fixed + file.size() ? kMaxBody - fixed - file.size() : 0;
        if (text.size() > roomForText)
            text.resize(roomForText);
        if (fixed + text.size() + file.size() > kMaxBody) {
            const size_t roomForFile = kMaxBody > fixed + text.size() ? kMaxBody - fixed - text.size() : 0;
            file = file.substr(file.size() - roomForFile);
        }
    }
    return head + text + fileLabel + file + tail;
}

void ReportError(int16_t level, const char* message, const char* sourceFile, uint32_t line)
{
    switch (level) {
    case kReportFatal:
    case kReportAssert: {
        const char* caption = level == kReportFatal ? "Fatal Error" : "Assert Failed";
        const std::string body = FormatReportBody(caption, message, sourceFile, line);
        ShowMessageBox(body.c_str(), caption, CMsgBox::kIconStop, CMsgBox::kButtonsOk, 1);
        EndProgram();
    }
    case kReportDebugWarning:
        // Under the fatal-only rule a debug warning is just another level that returns.
        if (GetEngineProfile().onlyFatalReportsAct)
            return;
        if (!g_debugSwitch)
            EndProgram();
        ShowMessageBox(FormatReportBody("Warning", message, sourceFile, line).c_str(), "Warning",
                       CMsgBox::kIconExclamation, CMsgBox::kButtonsOk, 1);
        return;
    default: return;
    }
}

bool GetDebugSwitch() { return g_debugSwitch && !GetEngineProfile().onlyFatalReportsAct; }
void SetDebugSwitch(bool on) { g_debugSwitch = on; }
