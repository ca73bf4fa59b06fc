#include "engine/graphics/PrintEnv.h"

#include <algorithm>
#include <cerrno>

#include "engine/framework/Str.h"
#include "engine/graphics/Region.h"
#include "platform/Dialogs.h"

namespace {

// The margin is this many printer dots from the paper's edge, less what the printer cannot
// print there.
constexpr int32_t kMarginDots = 129;
constexpr double kPointsPerInch = 72.0;
// Pages are measured in 16-bit points.
constexpr int32_t kMaxPoints = 32767;
constexpr int32_t kCancelled = -1;

uint16_t DialogPage(int page) { return static_cast<uint16_t>(std::clamp(page, 1, kMaxPoints)); }

} // namespace

CPrintEnv::CPrintEnv() = default;

CPrintEnv::CPrintEnv(CPrinter* printer)
{
    if (!printer)
        return;
    const auto answer =
        plat::GetDialogService().Print(printer->MakeDialogRequest(plat::PrintDialogKind::Print));
    if (!answer) {
        error_ = kCancelled;
        return;
    }
    printer->SetFromPage(DialogPage(answer->fromPage));
    printer->SetToPage(DialogPage(answer->toPage));
    device_ = std::make_unique<plat::PrinterDevice>(*answer);
    printer_ = printer;
    SetKind(kEnvPrinter);
    SetUpPage(device_->Caps());
    if (error_ == 0)
        SetPointsMapping();
    SetPrinterChoice(*answer);
}

CPrintEnv::~CPrintEnv()
{
    // The drawing context belongs to the device: put the defaults back and forget it before
    // the device goes.
    ReleaseGdiObjects();
    DetachDC();
    device_.reset();
}

std::unique_ptr<CPrintEnv> CPrintEnv::Create(CPrinter& printer, uint8_t flag)
{
    (void)flag;
    auto env = std::make_unique<CPrintEnv>(&printer);
    if (env->GetError() != 0)
        return nullptr;
    return env;
}

void CPrintEnv::SetUpPage(const plat::PrinterCaps& caps)
{
    deviceWidth_ = caps.width;
    deviceHeight_ = caps.height;
    horzResolution_ = static_cast<int16_t>(caps.dpiX);
    vertResolution_ = static_cast<int16_t>(caps.dpiY);
    const double pageWidth = static_cast<double>(caps.width) / caps.dpiX * kPointsPerInch;
    const double pageHeight = static_cast<double>(caps.height) / caps.dpiY * kPointsPerInch;
    if (pageWidth > kMaxPoints || pageHeight > kMaxPoints) {
        error_ = EINVAL; // a page this large cannot be measured in points
        return;
    }
    pageWidth_ = static_cast<int32_t>(pageWidth);
    pageHeight_ = static_cast<int32_t>(pageHeight);
    leftMargin_ = static_cast<int16_t>((kMarginDots - caps.offsetX) * 72 / caps.dpiX);
    topMargin_ = static_cast<int16_t>((kMarginDots - caps.offsetY) * 72 / caps.dpiY);
    printableWidth_ = static_cast<int16_t>(pageWidth_ - 2 * leftMargin_);
    printableHeight_ = static_cast<int16_t>(pageHeight_ - 2 * topMargin_);
}

void CPrintEnv::SetPointsMapping()
{
    if (!device_)
        return;
    if (!device_->Context().SetMapping({pageWidth_, pageHeight_}, {deviceWidth_, deviceHeight_}))
        error_ = EINVAL;
}

bool CPrintEnv::Succeeded(int32_t error)
{
    if (error != 0)
        error_ = error;
    return error == 0;
}

void CPrintEnv::SetLinkedEnv(CDrawEnv* env) { linked_ = env ? env : this; }

bool CPrintEnv::StartDoc(const CRect& rect, const CStr* name)
{
    if (!device_)
        return Succeeded(EINVAL);
    CPalette* linkedPalette = linked_ ? linked_->GetPalette() : nullptr;
    if (linkedPalette && linkedPalette->GetHandle() && !palette_)
        palette_ = std::make_unique<CPalette>(linkedPalette->GetHandle());
    Setup(&device_->Context(), rect, palette_.get());
    return Succeeded(device_->StartDoc(name ? std::string_view(name->GetText()) : std::string_view()));
}

bool CPrintEnv::StartPage()
{
    if (!device_)
        return Succeeded(EINVAL);
    const bool started = Succeeded(device_->StartPage());
    SetPointsMapping();
    return started;
}

bool CPrintEnv::EndPage() { return Succeeded(device_ ? device_->EndPage() : EINVAL); }
bool CPrintEnv::EndDoc() { return Succeeded(device_ ? device_->EndDoc() : EINVAL); }

void CPrintEnv::GetPrintableRect(CRect& out) const
{
    out = CRect(topMargin_, leftMargin_, static_cast<int16_t>(topMargin_ + printableHeight_),
                static_cast<int16_t>(leftMargin_ + printableWidth_));
}

void CPrintEnv::BlitDib(CDibSect* bitmap, const CRect& src, const CRect& dest, const CRect* clip,
                        DrawRecord* record)
{
    (void)clip;
    (void)record;
    plat::DrawContext* dc = GetHDC();
    if (!bitmap || !bitmap->GetHandle() || !dc || !device_ || !BeginDraw())
        return;
    const plat::Surface& pixels = *bitmap->GetHandle();
    if (device_->Caps().canStretch)
        dc->StretchBlt(ToPlatRect(dest), pixels, ToPlatRect(src));
    else
        dc->BitBlt(ToPlatRect(dest), pixels, {src.GetLeft(), src.GetTop()});
    EndDraw();
}
