// The drawn print set-up and print dialogs. The printer writes picture pages into a folder,
// so the choice to make is that folder: one that exists, or one that can be made. The print
// dialog shows the page range it cannot offer (no page numbers) disabled.
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "platform/widgets/DialogBox.h"
#include "platform/widgets/DrawnDialogs.h"
#include "platform/widgets/WidgetCore.h"

namespace plat {
namespace widgets {
namespace {

constexpr int kWidth = 360;
constexpr int kLeft = 12;

// A folder pages can go to: an existing folder, or a path whose nearest existing folder
// above it can be written into, so that the missing ones can be made.
bool CanHoldPages(const std::filesystem::path& folder)
{
    if (folder.empty())
        return false;
    std::error_code ec;
    std::filesystem::path at = std::filesystem::absolute(folder, ec);
    if (ec)
        return false;
    if (std::filesystem::exists(at, ec))
        return std::filesystem::is_directory(at, ec);
    while (at.has_parent_path() && at.parent_path() != at) {
        at = at.parent_path();
        if (std::filesystem::exists(at, ec))
            return std::filesystem::is_directory(at, ec) && access(at.c_str(), W_OK | X_OK) == 0;
    }
    return false;
}

class PrintDialog {
public:
    explicit PrintDialog(const PrintSetupRequest& request)
        : request_(request), choice_(request.choice.value_or(DefaultPrinterChoice())),
          box_(request.owner, request.kind == PrintDialogKind::Print ? "Print" : "Print Setup", kWidth,
               Height(request))
    {
        Build();
    }

    std::optional<PrintSetupResult> Run()
    {
        if (box_.Run(0) != 1)
            return std::nullopt;
        return result_;
    }

private:
    static int Height(const PrintSetupRequest& request)
    {
        const int line = DialogBox::LineHeight();
        const int base = 10 + 2 * (line + 4) + line + 6 + 12 + 23 + 12;
        return request.kind == PrintDialogKind::Print ? base + 3 * (line + 8) + 6 : base;
    }

    void Build()
    {
        const int line = DialogBox::LineHeight();
        const int field = line + 6;
        int y = 10;
        box_.AddLabel(Rect::FromSize(kLeft, y, kWidth - 2 * kLeft, line),
                      "Printer: picture pages (PNG files)");
        y += line + 4;
        box_.AddLabel(Rect::FromSize(kLeft, y, kWidth - 2 * kLeft, line), "Page folder:");
        y += line + 4;
        folder_ = box_.Add(widgetclass::Edit, style::Border | wstyle::AutoHScroll,
                           Rect::FromSize(kLeft, y, kWidth - 2 * kLeft, field), choice_.folder.string());
        y += field + 12;
        if (request_.kind == PrintDialogKind::Print) {
            box_.AddLabel(Rect::FromSize(kLeft, y, kWidth - 2 * kLeft, line), "Print range");
            y += line + 8;
            const WindowHandle all = box_.Add(widgetclass::Button, wstyle::RadioButton,
                                              Rect::FromSize(kLeft, y, 120, line + 2), "All");
            SetButtonCheck(all, true);
            y += line + 8;
            // Page numbers cannot be asked for: the choice is there, disabled.
            box_.Add(widgetclass::Button, wstyle::RadioButton | style::Disabled,
                     Rect::FromSize(kLeft, y, 70, line + 2), "Pages");
            box_.AddLabel(Rect::FromSize(kLeft + 80, y, 40, line), "From:");
            box_.Add(widgetclass::Edit, style::Border | style::Disabled,
                     Rect::FromSize(kLeft + 126, y - 2, 50, field));
            box_.AddLabel(Rect::FromSize(kLeft + 186, y, 30, line), "To:");
            box_.Add(widgetclass::Edit, style::Border | style::Disabled,
                     Rect::FromSize(kLeft + 216, y - 2, 50, field));
            y += line + 14;
        }
        ok_ = box_.Add(widgetclass::Button, wstyle::DefPushButton, Rect::FromSize(kWidth - 2 * 87, y, 75, 23),
                       "OK");
        cancel_ = box_.Add(widgetclass::Button, 0, Rect::FromSize(kWidth - 87, y, 75, 23), "Cancel");
        box_.SetDefault(ok_);
        box_.SetCancel(cancel_);
        box_.SetFocusTo(ok_);
        box_.onCommand = [this](WindowHandle w, uint32_t code) {
            if (code != notify::ButtonClicked)
                return;
            if (w == ok_)
                Accept();
            else if (w == cancel_)
                box_.End(0);
        };
    }

    void Accept()
    {
        const std::filesystem::path folder = GetWidgetText(folder_);
        if (!CanHoldPages(folder)) {
            ShowDrawnBox(box_.Hwnd(), "Print",
                         folder.string() + "\nPages cannot be written into this folder.", MbIcon::Warning,
                         MbButtons::Ok, 0);
            return;
        }
        result_ = choice_;
        result_.folder = folder;
        result_.fromPage = request_.fromPage;
        result_.toPage = request_.toPage;
        result_.copies = request_.copies;
        box_.End(1);
    }

    PrintSetupRequest request_;
    PrintSetupResult choice_;
    DialogBox box_;
    PrintSetupResult result_;
    WindowHandle folder_ = 0, ok_ = 0, cancel_ = 0;
};

} // namespace
} // namespace widgets

std::optional<PrintSetupResult> DrawnDialogs::PrintSetup(const PrintSetupRequest& request)
{
    widgets::PrintDialog dialog(request);
    return dialog.Run();
}

std::optional<PrintSetupResult> DrawnDialogs::Print(const PrintSetupRequest& request)
{
    widgets::PrintDialog dialog(request);
    return dialog.Run();
}

} // namespace plat
