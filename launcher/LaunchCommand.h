#pragma once
// The command of a launch item, parsed once when the item is made. A command names what a pick
// starts: a program (optionally with one document), an installed product found through the
// machine settings, a web link through an Internet shortcut file, or another menu screen.
// Anything the grammar does not describe is a bad item: its pick starts nothing and tells the
// user what is wrong with it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tour {

enum class LaunchKind : int16_t {
    Program = 0,   // PROGRAM, PROGRAM DOCUMENT or "PROGRAM"
    Installed = 1, // *APPL[KEY][SUBKEY] PROGRAM
    Link = 2,      // *HTTP FILE
    Menu = 3,      // *MENU N
    None = 5,      // fewer than 4 bytes: no command (an "Exit" item with the end flag)
    Bad = 6,       // anything else
};

struct LaunchCommand {
    LaunchKind kind = LaunchKind::None;
    std::string program;                 // the program part (empty: the user chooses one)
    std::optional<std::string> argument; // the document, product program or shortcut file
    std::string key;                     // installed product: key and optional subkey
    std::string subkey;
    int32_t screen = 0; // menu: the screen number, > 0
    std::string fault;  // bad item: what is wrong, completing "The menu item "X" "
};

// The longest command an item may hold, in bytes.
inline constexpr size_t kMaxCommandBytes = 255;

// Parses a command exactly as written (case-sensitive).
LaunchCommand ParseLaunchCommand(std::string_view command);

// The text of the stop box that a bad item's pick shows.
std::string BadItemText(std::string_view label, std::string_view fault);

// The longest web address a shortcut file may give, in bytes.
inline constexpr size_t kMaxUrlBytes = 2047;

// The "URL" value of the "[InternetShortcut]" section of an Internet shortcut file's text
// (section and key names without regard to case, lines ending in LF or CR LF, blanks around
// names and the value ignored); nothing when there is none, it is empty or it is too long.
std::optional<std::string> ReadShortcutUrl(std::string_view text);

} // namespace tour
