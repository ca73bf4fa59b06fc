#pragma once
// The platform's own controls: child windows of five classes that the window system registers
// itself (button, scroll bar, list box, drop-down combo box and edit field). Each paints its
// own surface over its parent in one fixed look taken from GetSysColor, and tells its parent
// what happened through msg::Command (id 0, the notification code in the high word, the
// widget's handle as lParam) or, for a scroll bar, msg::HScroll / msg::VScroll.
//
// Widgets are made with CreateWindow, a class name below, style::Child and the widget style
// bits of wstyle (which lie above every style:: bit). The operations below are plain calls;
// called on a handle that is not a widget of the right class they do nothing and answer 0,
// an empty text or -1.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Font.h"
#include "platform/Window.h"

namespace plat {

namespace widgetclass {
constexpr const char* Button = "BUTTON";
constexpr const char* ScrollBar = "SCROLLBAR";
constexpr const char* ListBox = "LISTBOX";
constexpr const char* ComboBox = "COMBOBOX";
constexpr const char* Edit = "EDIT";
} // namespace widgetclass

// Style bits of the widgets, above every style:: bit (plain numbers, so that they combine
// with style:: bits).
namespace wstyle {
// Button kinds: a push button unless one of these is given.
constexpr uint32_t DefPushButton = 0x10000; // a push button with a thicker frame: the one Enter presses
constexpr uint32_t CheckBox = 0x20000;
constexpr uint32_t RadioButton = 0x30000;
constexpr uint32_t ButtonKindMask = 0x30000;
// Scroll bar: horizontal unless this is given.
constexpr uint32_t VerticalBar = 0x40000;
// List box: the parent answers msg::VKeyToItem for the keys pressed in it.
constexpr uint32_t WantKeys = 0x80000;
// Edit field.
constexpr uint32_t MultiLine = 0x100000;   // line breaks, wrapping at word breaks, a vertical bar when needed
constexpr uint32_t AlignCenter = 0x200000; // lines centred
constexpr uint32_t AlignRight = 0x400000;  // lines flush right
constexpr uint32_t AutoHScroll = 0x800000; // a line may grow past the width; the view follows the caret
constexpr uint32_t AutoVScroll = 0x1000000; // lines may grow past the height; the view follows the caret
} // namespace wstyle

// Notification codes in the high word of msg::Command.
namespace notify {
enum : uint32_t {
    ButtonClicked = 0,
    ListSelChange = 1,
    ListDoubleClick = 2,
    ComboSelChange = 1,
    ComboSetFocus = 3,
    EditSetFocus = 0x0100,
    EditChange = 0x0300,
};
} // namespace notify

// Registers the five classes (the window system does so at start and again after
// ResetWindowSystem). Registering again while they exist does nothing.
void RegisterWidgetClasses();

// Subclassing: puts a procedure in front of the widget's own and answers the procedure it
// replaced, which the new one calls for every message it passes on. An empty procedure puts
// the widget's own back. Answers an empty procedure for a window that is not a widget.
WindowProc SubclassWidget(WindowHandle widget, WindowProc proc);

// Any widget.
void SetWidgetFont(WindowHandle widget, FontHandle font); // nullptr: the system font
FontHandle GetWidgetFont(WindowHandle widget);
void SetWidgetText(WindowHandle widget, std::string_view text); // button caption or edit text
std::string GetWidgetText(WindowHandle widget);
int32_t GetWidgetTextLength(WindowHandle widget);

// Button.
void SetButtonCheck(WindowHandle button, bool checked);
bool GetButtonCheck(WindowHandle button);

// Scroll bar. Positions are clamped to the range.
void SetScrollBarRange(WindowHandle bar, int32_t min, int32_t max);
std::pair<int32_t, int32_t> GetScrollBarRange(WindowHandle bar);
void SetScrollBarPos(WindowHandle bar, int32_t pos);
int32_t GetScrollBarPos(WindowHandle bar);

// List box and combo box: their strings and the current item (-1 none; an index of -1 or
// past the end selects nothing). Adding answers the new item's index.
int32_t AddListString(WindowHandle list, std::string_view text);
void ResetList(WindowHandle list);
int32_t GetListCount(WindowHandle list);
std::string GetListString(WindowHandle list, int32_t index);
void SetListCurrent(WindowHandle list, int32_t index);
int32_t GetListCurrent(WindowHandle list);
// The first item shown in a list box.
int32_t GetListTopIndex(WindowHandle list);
// Whether a combo box's list is open.
bool IsComboDropped(WindowHandle combo);

// Edit field. The limit counts characters (0: no limit); a text set through SetWidgetText is
// not cut to it. Selections run from start up to end; SetEditSelection(-1, ...) clears it and
// puts the caret at the end.
void SetEditLimit(WindowHandle edit, int32_t limit);
int32_t GetEditLimit(WindowHandle edit);
void SetEditSelection(WindowHandle edit, int32_t start, int32_t end);
std::pair<int32_t, int32_t> GetEditSelection(WindowHandle edit);
void EditCut(WindowHandle edit);
void EditCopy(WindowHandle edit);
void EditPaste(WindowHandle edit);
void EditClear(WindowHandle edit); // deletes the selection
bool EditUndo(WindowHandle edit);  // swaps the text with the one before the last change

// The text clipboard (Windows-1252): SDL's, converted to and from UTF-8, while the display
// runs; a buffer in memory otherwise.
void SetClipboardText(std::string_view text);
std::string GetClipboardText();
bool ClipboardHasText();
void ResetClipboard();

} // namespace plat
