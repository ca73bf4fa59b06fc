// The drawn message box: the text with its line breaks, wrapped to a greatest width, the icon
// of its kind, and the buttons of its set with the default one.
#include <cstdio>

#include "platform/Desktop.h"
#include "platform/widgets/DialogBox.h"
#include "platform/widgets/DrawnDialogs.h"
#include "platform/widgets/EditLayout.h"
#include "platform/widgets/WidgetCore.h"

namespace plat {
namespace widgets {
namespace {

constexpr int kGap = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMaxTextWidth = 400;

const char* LabelOf(MbResult r)
{
    switch (r) {
    case MbResult::Ok: return "OK";
    case MbResult::Cancel: return "Cancel";
    case MbResult::Yes: return "Yes";
    case MbResult::No: return "No";
    case MbResult::Retry: return "Retry";
    case MbResult::Abort: return "Abort";
    case MbResult::Ignore: return "Ignore";
    }
    return "OK";
}

// The text's lines: its own line breaks, then wrapping at the greatest width.
std::vector<std::string> MessageLines(const std::string& text)
{
    std::string breaks;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            breaks += '\r';
        breaks += text[i];
    }
    std::vector<std::string> lines;
    for (const EditLine& l : BreakLines(breaks, kMaxTextWidth, DialogBox::TextWidth)) {
        std::string line = breaks.substr(static_cast<size_t>(l.start), static_cast<size_t>(l.end - l.start));
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void PaintIcon(DrawContext& dc, MbIcon icon, const Rect& box)
{
    const ColorRef black = ColorRef::FromRgb(0, 0, 0);
    const ColorRef white = ColorRef::FromRgb(255, 255, 255);
    dc.SetPen({PenStyle::Solid, 1, black});
    const int cx = box.left + box.Width() / 2;
    switch (icon) {
    case MbIcon::None: return;
    case MbIcon::Error:
        dc.SetBrush({false, ColorRef::FromRgb(255, 0, 0)});
        dc.Ellipse(box);
        dc.SetPen({PenStyle::Solid, 3, white});
        dc.MoveTo({box.left + 10, box.top + 10});
        dc.LineTo({box.right - 10, box.bottom - 10});
        dc.MoveTo({box.right - 10, box.top + 10});
        dc.LineTo({box.left + 10, box.bottom - 10});
        return;
    case MbIcon::Warning: {
        dc.SetBrush({false, ColorRef::FromRgb(255, 255, 0)});
        const Point corners[] = {
            {cx, box.top + 1}, {box.right - 1, box.bottom - 2}, {box.left, box.bottom - 2}};
        dc.PaintRegion(Region::Polygon(corners));
        dc.MoveTo(corners[0]);
        dc.LineTo(corners[1]);
        dc.LineTo(corners[2]);
        dc.LineTo(corners[0]);
        dc.FillRect({cx - 1, box.top + 10, cx + 2, box.top + 22}, black);
        dc.FillRect({cx - 1, box.top + 24, cx + 2, box.top + 27}, black);
        return;
    }
    case MbIcon::Information:
    case MbIcon::Question:
        dc.SetBrush({false, ColorRef::FromRgb(0, 0, 255)});
        dc.Ellipse(box);
        if (icon == MbIcon::Information) {
            dc.FillRect({cx - 2, box.top + 7, cx + 2, box.top + 11}, white);
            dc.FillRect({cx - 2, box.top + 13, cx + 2, box.top + 25}, white);
        } else {
            dc.SetPen({PenStyle::Solid, 3, white});
            dc.Arc({cx - 6, box.top + 6, cx + 7, box.top + 18}, {cx - 6, box.top + 14}, {cx, box.top + 18});
            dc.FillRect({cx - 1, box.top + 17, cx + 2, box.top + 22}, white);
            dc.FillRect({cx - 1, box.top + 24, cx + 2, box.top + 27}, white);
        }
        return;
    }
}

} // namespace

MbResult ShowDrawnBox(WindowHandle owner, const std::string& caption, const std::string& text, MbIcon icon,
                      MbButtons set, int defaultButton)
{
    const std::vector<MbResult> answers = ButtonsOf(set);
    const size_t def = defaultButton >= 0 && static_cast<size_t>(defaultButton) < answers.size()
                           ? static_cast<size_t>(defaultButton)
                           : 0;
    const std::vector<std::string> lines = MessageLines(text);
    int textWidth = 0;
    for (const std::string& l : lines)
        textWidth = std::max(textWidth, DialogBox::TextWidth(l));
    const int lineHeight = DialogBox::LineHeight();
    const int textHeight = static_cast<int>(lines.size()) * lineHeight;
    const int textLeft = kGap + (icon == MbIcon::None ? 0 : kIconSize + kGap);
    const int contentHeight = std::max(textHeight, icon == MbIcon::None ? 0 : kIconSize);
    const int n = static_cast<int>(answers.size());
    const int rowWidth = n * kButtonWidth + (n - 1) * kButtonGap;
    const int width = std::max(textLeft + textWidth + kGap, rowWidth + 2 * kGap);
    const int buttonsTop = kGap + contentHeight + kGap;

    DialogBox box(owner, caption, width, buttonsTop + kButtonHeight + kGap);
    const int textTop = kGap + (contentHeight - textHeight) / 2;
    for (size_t i = 0; i < lines.size(); ++i)
        box.AddLabel(
            Rect::FromSize(textLeft, textTop + static_cast<int>(i) * lineHeight, textWidth, lineHeight),
            lines[i]);
    box.paintExtra = [icon](DrawContext& dc) {
        PaintIcon(dc, icon, Rect::FromSize(kGap, kGap, kIconSize, kIconSize));
    };
    std::vector<WindowHandle> buttons;
    int x = (width - rowWidth) / 2;
    for (size_t i = 0; i < answers.size(); ++i, x += kButtonWidth + kButtonGap) {
        buttons.push_back(box.Add(widgetclass::Button, i == def ? wstyle::DefPushButton : 0,
                                  Rect::FromSize(x, buttonsTop, kButtonWidth, kButtonHeight),
                                  LabelOf(answers[i])));
    }
    box.SetDefault(buttons[def]);
    box.SetFocusTo(buttons[def]);
    // Esc answers Cancel when the set has it, OK in a box with OK alone, and nothing otherwise.
    int escape = -1;
    for (size_t i = 0; i < answers.size(); ++i) {
        if (answers[i] == MbResult::Cancel || set == MbButtons::Ok)
            escape = static_cast<int>(i);
    }
    if (escape >= 0)
        box.SetCancel(buttons[static_cast<size_t>(escape)]);
    box.SetEscEnds(false);
    box.onCommand = [&](WindowHandle widget, uint32_t code) {
        for (size_t i = 0; i < buttons.size(); ++i) {
            if (widget == buttons[i] && code == notify::ButtonClicked)
                box.End(static_cast<int>(i));
        }
    };
    // A loop that runs out of input answers as Esc would, or with the default button.
    const int chosen = box.Run(escape >= 0 ? escape : static_cast<int>(def));
    return answers[static_cast<size_t>(chosen)];
}

} // namespace widgets

MbResult DrawnMessageBoxes::Show(const MessageBoxRequest& request)
{
    if (!GetDisplay() && !HasDialogInput()) {
        // Nothing can show the box (a report before the display starts): say it on standard
        // error and answer with the default button.
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        const std::vector<MbResult> answers = ButtonsOf(request.buttons);
        const auto def = static_cast<size_t>(request.defaultButton);
        return request.defaultButton >= 0 && def < answers.size() ? answers[def] : answers.front();
    }
    return widgets::ShowDrawnBox(static_cast<WindowHandle>(request.owner), request.caption, request.text,
                                 request.icon, request.buttons, request.defaultButton);
}

} // namespace plat
