// The five widget classes the window system registers as its own.
#include "platform/widgets/WidgetCore.h"

namespace plat {

void RegisterWidgetClasses()
{
    using namespace widgets;
    RegisterWidgetClass(widgetclass::Button, 0, MakeButton);
    RegisterWidgetClass(widgetclass::ScrollBar, 0, MakeScrollBar);
    RegisterWidgetClass(widgetclass::ListBox, classstyle::DoubleClicks, MakeListBox);
    RegisterWidgetClass(widgetclass::ComboBox, 0, MakeComboBox);
    RegisterWidgetClass(widgetclass::Edit, classstyle::DoubleClicks, MakeEdit);
}

} // namespace plat
