#pragma once
// The one way the program reports a failure: a level, a message, the caller's source file
// and line. Levels:
//   0 "Fatal Error"    message box, then the program ends
//   1 "Warning"        ignored
//   2 "Assert Failed"  message box, then the program ends
//   3 "INFO"           ignored
//   4 "Warning"        with the debug switch on a message box and return; with it off the
//                      program ends without a box
// Before the program ends, message -48 is delivered at once to the application, which gets
// a last look; then it ends with "Exiting application.".
#include <cstdint>
#include <string>

enum : int16_t {
    kReportFatal = 0,
    kReportWarning = 1,
    kReportAssert = 2,
    kReportInfo = 3,
    kReportDebugWarning = 4,
};

// Returns only for the ignored levels and for level 4 with the debug switch on.
void ReportError(int16_t level, const char* message, const char* sourceFile, uint32_t line);

// The body of a report's box: "<caption>: <message>\r\rFile: <file>  Line: <line>", kept
// within 511 characters by shortening the message (and, should that not do, the start of
// the file path).
std::string FormatReportBody(const char* caption, const char* message, const char* sourceFile, uint32_t line);

// The debug switch: off at start; nothing in the program turns it on (tests do).
bool GetDebugSwitch();
void SetDebugSwitch(bool on);
