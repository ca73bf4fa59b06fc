// The drawn services, and the input a test queues for a drawn dialog's loop.
#include "platform/widgets/DrawnDialogs.h"

#include <deque>

#include "platform/widgets/Widgets.h"

namespace plat {
namespace {

std::deque<std::function<void()>>& DialogInput()
{
    static std::deque<std::function<void()>> steps;
    return steps;
}

} // namespace

DrawnMessageBoxes& GetDrawnMessageBoxes()
{
    static DrawnMessageBoxes service;
    return service;
}

DrawnDialogs& GetDrawnDialogs()
{
    static DrawnDialogs service;
    return service;
}

void InstallDrawnDialogs()
{
    SetMessageBoxService(&GetDrawnMessageBoxes());
    SetDialogService(&GetDrawnDialogs());
}

void QueueDialogInput(std::function<void()> step) { DialogInput().push_back(std::move(step)); }

bool HasDialogInput() { return !DialogInput().empty(); }

bool RunDialogInputStep()
{
    if (DialogInput().empty())
        return false;
    const std::function<void()> step = std::move(DialogInput().front());
    DialogInput().pop_front();
    step();
    return true;
}

void ResetDialogInput() { DialogInput().clear(); }

} // namespace plat
