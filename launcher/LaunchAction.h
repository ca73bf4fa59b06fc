#pragma once
// What picking a launch item does, by the kind of its command: start a program or an installed
// product, open a web link, switch the menu screen, end the tour, or tell the user why a bad
// item starts nothing. The program around it shows the messages, switches screens and opens
// links; tests stand in for it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "launcher/LaunchCommand.h"
#include "launcher/LaunchProc.h"

namespace tour {

class LaunchServices {
public:
    virtual ~LaunchServices() = default;
    // A message box with an empty caption and an OK button: the stop icon, else information.
    virtual void ShowMessage(const std::string& text, bool stop) = 0;
    // Queues the switch to menu screen n, done after the click has been handled.
    virtual void SwitchScreen(int32_t screen) = 0;
    // Hands the web address on; false when it was refused or nothing opened it.
    virtual bool OpenLink(const std::string& url) = 0;
    // The wait cursor while a program starts.
    virtual void ShowBusy(bool /*busy*/) {}
    virtual std::unique_ptr<CLaunchProc> MakeLauncher(std::string program,
                                                      std::optional<std::string> document)
    {
        return std::make_unique<CLaunchProc>(std::move(program), std::move(document));
    }

    std::string placeholder; // replaced by the program name in failure texts ("STR" 100 entry 8)
    std::string linkPrefix;  // put before the web address when a link fails (entry 10)
};

struct LaunchItemData {
    std::string label;
    std::string command; // as written in the record
    std::string failure;
    bool endsTour = false;
    LaunchCommand parsed;
};

// Runs a pick; false asks to end the tour (only after a started program, or a no-command item,
// of an item with the end flag).
bool Launch(const LaunchItemData& item, LaunchServices& services);

// The web address of the Internet shortcut file at the engine path; nothing when the file
// cannot be read or gives none.
std::optional<std::string> ReadShortcutFile(const std::string& enginePath);

} // namespace tour
