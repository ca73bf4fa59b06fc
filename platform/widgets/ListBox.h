#pragma once
// The list box widget (not for use outside platform/): shared with the combo box, whose open
// list is a list box in a popup window.
#include <functional>
#include <string>
#include <vector>

#include "platform/widgets/WidgetCore.h"

namespace plat::widgets {

class ListBox : public Widget {
public:
    explicit ListBox(WindowHandle hwnd) : Widget(hwnd) {}
    intptr_t Handle(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void Relayout() override;

    int32_t Add(std::string_view text);
    void Reset();
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    std::string Item(int32_t index) const;
    // Makes an item current (-1 or past the end: none) and shows it; no notification.
    void SetCurrent(int32_t index);
    int32_t Current() const { return current_; }
    int32_t Top() const { return top_; }
    int32_t ItemHeight() const;
    // Moves the current item as a key would, with the notification when it changed.
    void MoveBy(uint8_t keyCode);
    void TypeAhead(uint8_t ch);

    // As the open list of a combo box: the selection follows the pointer, a release inside
    // chooses (the handler hears true) and a press outside closes it (false).
    std::function<void(bool chosen)> dropHandler;

private:
    int32_t VisibleRows() const;
    int32_t ItemAt(Point p) const;
    void SetTop(int32_t top);
    void ShowCurrent();
    void UpdateBar();
    void Choose(int32_t index, bool notify);
    void OnScroll(uint32_t code, int32_t pos);
    void OnMouse(uint32_t message, Point p);
    void Paint();

    std::vector<std::string> items_;
    int32_t current_ = -1;
    int32_t top_ = 0;
    WindowHandle bar_ = 0;
};

} // namespace plat::widgets
