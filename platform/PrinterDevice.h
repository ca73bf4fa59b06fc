#pragma once
// The printer: a device that draws each page into an 8-bit surface of the printer's size and
// writes it, when the page ends, as an indexed PNG file into the printer's folder. A program
// draws through the device's drawing context, usually with a mapping from its own units (such
// as points) to the device's pixels, and steps the device through a document and its pages.
//
// Page files are named after the document and the page's number in it, "NAME-001.png" and so
// on. A page is written to a temporary file that replaces an older page of the same name only
// when it is complete; a page that cannot be written leaves the older file as it was.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/DrawContext.h"
#include "platform/Surface.h"

namespace plat {

class PrinterDevice {
public:
    // A device for the printer chosen; its capabilities are kept within sensible bounds (at
    // least one pixel and one dot per inch, at most kMaxPixels pixels a side).
    explicit PrinterDevice(const PrintSetupResult& choice);
    PrinterDevice(const PrinterDevice&) = delete;
    PrinterDevice& operator=(const PrinterDevice&) = delete;

    static constexpr int32_t kMaxPixels = 16384;

    DrawContext& Context() { return dc_; }
    const PrinterCaps& Caps() const { return caps_; }
    const std::filesystem::path& Folder() const { return folder_; }
    // The page being drawn (index 255 where nothing was drawn).
    const Surface& Page() const { return page_; }

    // Each answers 0 on success or an error number: EINVAL when called out of order (a page
    // outside a document, a document inside one), else the file system's error for the page
    // that could not be written.
    int32_t StartDoc(std::string_view name);
    int32_t StartPage();
    // Writes the page; the page is over whether or not that succeeds.
    int32_t EndPage();
    // Ends the document; a page still open is ended (and written) first.
    int32_t EndDoc();

    bool InDocument() const { return state_ != State::Idle; }
    bool InPage() const { return state_ == State::Page; }

private:
    enum class State { Idle, Document, Page };

    PrinterCaps caps_;
    std::filesystem::path folder_;
    Surface page_;
    DrawContext dc_;
    State state_ = State::Idle;
    std::string docName_;
    int32_t pageNumber_ = 0;
};

// A page's file name: the document name with every character other than A-Z, a-z, 0-9, '-',
// '_' and '.' replaced by '_' ("document" when empty), a dash and the page number in three
// digits (more past 999), then ".png".
std::string PageFileName(std::string_view docName, int32_t pageNumber);

} // namespace plat
