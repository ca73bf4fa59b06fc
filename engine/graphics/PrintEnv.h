#pragma once
// CPrintEnv: the drawing environment of a print job. It runs the print dialog, opens the
// chosen printer and maps the page in points (1/72 inch) onto the printer's pixels, with fixed
// margins; the printer object steps it through document and pages. Bitmaps go to the printer
// stretched over their destination when the printer can stretch, else copied.
#include <cstdint>
#include <memory>

#include "engine/framework/Printer.h"
#include "engine/graphics/DrawEnv.h"
#include "platform/PrinterDevice.h"

class CPrintEnv : public CDrawEnv, public CPrintJobEnv {
public:
    // No printer, no device, no palette, no linked environment.
    CPrintEnv();
    // Runs the print dialog for the printer and, when the user confirms, opens the printer
    // chosen and sets the page up. A cancelled dialog leaves error -1 and no device.
    explicit CPrintEnv(CPrinter* printer);
    ~CPrintEnv() override;

    // A new environment for the printer's job, or null when the dialog was cancelled or the
    // page could not be set up. The flag is the job's; the environment does not use it.
    static std::unique_ptr<CPrintEnv> Create(CPrinter& printer, uint8_t flag);

    // The environment the job prints from (its palette is printed with); null means this one.
    void SetLinkedEnv(CDrawEnv* env) override;
    // Sets the environment up on the printer with the rectangle and the linked environment's
    // palette, and starts the document under the name.
    bool StartDoc(const CRect& rect, const CStr* name) override;
    // Starts a page; the points mapping is set again whether or not that succeeds.
    bool StartPage() override;
    bool EndPage() override;
    bool EndDoc() override;
    void ClearClipRgn() override { RemoveClip(); }

    // The bitmap's source rectangle over the destination rectangle (points): stretched by the
    // printer when it can, else copied from the source's corner with the destination's size.
    // The clip rectangle and the drawing record are not used.
    void BlitDib(CDibSect* bitmap, const CRect& src, const CRect& dest, const CRect* clip,
                 DrawRecord* record) override;

    // The page inside the margins, in points.
    void GetPrintableRect(CRect& out) const;

    // 0; -1 when the dialog was cancelled; else the error number of the call that failed.
    int32_t GetError() const { return error_; }
    int16_t GetLeftMargin() const { return leftMargin_; }
    int16_t GetTopMargin() const { return topMargin_; }
    int16_t GetHorzResolution() const { return horzResolution_; }
    int16_t GetVertResolution() const { return vertResolution_; }
    int16_t GetPrintableWidth() const { return printableWidth_; }
    int16_t GetPrintableHeight() const { return printableHeight_; }
    int32_t GetPageWidth() const { return pageWidth_; }
    int32_t GetPageHeight() const { return pageHeight_; }
    int32_t GetDeviceWidth() const { return deviceWidth_; }
    int32_t GetDeviceHeight() const { return deviceHeight_; }
    CPrinter* GetPrinter() const { return printer_; }
    CDrawEnv* GetLinkedEnv() const { return linked_; }
    plat::PrinterDevice* GetDevice() const { return device_.get(); }

private:
    // Reads the printer's capabilities and works out the page, the margins and the printable
    // area in points.
    void SetUpPage(const plat::PrinterCaps& caps);
    // Drawing coordinates become points on the page.
    void SetPointsMapping();
    // Keeps the error number of a failed call; answers whether it succeeded.
    bool Succeeded(int32_t error);

    int16_t leftMargin_ = 0;
    int16_t topMargin_ = 0;
    int16_t horzResolution_ = 0;
    int16_t vertResolution_ = 0;
    int16_t printableWidth_ = 0;
    int16_t printableHeight_ = 0;
    int32_t pageWidth_ = 0;
    int32_t pageHeight_ = 0;
    int32_t deviceWidth_ = 0;
    int32_t deviceHeight_ = 0;
    int32_t error_ = 0;
    CPrinter* printer_ = nullptr;
    CDrawEnv* linked_ = nullptr;
    std::unique_ptr<CPalette> palette_; // wraps the linked environment's palette, not owning it
    std::unique_ptr<plat::PrinterDevice> device_;
};
