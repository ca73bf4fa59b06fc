#include "launcher/LaunchCommand.h"

#include <algorithm>
#include <limits>

namespace tour {
namespace {

LaunchCommand Bad(std::string fault)
{
    LaunchCommand command;
    command.kind = LaunchKind::Bad;
    command.fault = std::move(fault);
    return command;
}

bool IsControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

// PROGRAM, PROGRAM DOCUMENT (everything after the first blank is the one document; an empty
// one is none) or "PROGRAM" with the rest ignored.
LaunchCommand ParseProgram(std::string_view text)
{
    LaunchCommand command;
    command.kind = LaunchKind::Program;
    if (text.front() == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string_view::npos)
            return Bad("has a program name whose quote is not closed.");
        if (close == 1)
            return Bad("has an empty quoted program name.");
        command.program = std::string(text.substr(1, close - 1));
        return command;
    }
    if (text.find('"') != std::string_view::npos)
        return Bad("has a quote inside its command; only a whole program name may be quoted.");
    const size_t blank = text.find(' ');
    command.program = std::string(text.substr(0, blank));
    if (blank != std::string_view::npos && blank + 1 < text.size())
        command.argument = std::string(text.substr(blank + 1));
    return command;
}

// [NAME] at the front of `text`: the name, and `text` moved past the closing bracket.
std::optional<std::string> TakeBracketed(std::string_view& text)
{
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const size_t close = text.find(']');
    if (close == std::string_view::npos || close == 1 ||
        text.substr(1, close - 1).find('[') != std::string_view::npos)
        return std::nullopt;
    std::string name(text.substr(1, close - 1));
    text.remove_prefix(close + 1);
    return name;
}

LaunchCommand ParseInstalled(std::string_view rest)
{
    LaunchCommand command;
    command.kind = LaunchKind::Installed;
    command.program = "APPL";
    const std::optional<std::string> key = TakeBracketed(rest);
    if (!key)
        return Bad("has no product key in square brackets after *APPL.");
    command.key = *key;
    if (!rest.empty() && rest.front() == '[') {
        const std::optional<std::string> subkey = TakeBracketed(rest);
        if (!subkey)
            return Bad("has a product subkey without its closing bracket or name.");
        command.subkey = *subkey;
    }
    if (rest.size() < 2 || rest.front() != ' ')
        return Bad("names no program after the product key of *APPL.");
    command.argument = std::string(rest.substr(1));
    return command;
}

LaunchCommand ParseLink(std::string_view rest)
{
    if (rest.size() < 2 || rest.front() != ' ')
        return Bad("names no shortcut file after *HTTP.");
    LaunchCommand command;
    command.kind = LaunchKind::Link;
    command.program = "HTTP";
    command.argument = std::string(rest.substr(1));
    return command;
}

// A whole number above 0: decimal, or hexadecimal after 0x.
std::optional<int32_t> ParseScreenNumber(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

LaunchCommand ParseMenu(std::string_view rest)
{
    if (rest.size() < 2 || rest.front() != ' ')
        return Bad("names no screen number after *MENU.");
    const std::optional<int32_t> screen = ParseScreenNumber(rest.substr(1));
    if (!screen)
        return Bad("has a screen number after *MENU that is not a whole number above 0.");
    LaunchCommand command;
    command.kind = LaunchKind::Menu;
    command.program = "MENU";
    command.argument = std::string(rest.substr(1));
    command.screen = *screen;
    return command;
}

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameLetters(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

LaunchCommand ParseLaunchCommand(std::string_view text)
{
    if (text.size() > kMaxCommandBytes)
        return Bad("has a command longer than 255 bytes.");
    if (std::any_of(text.begin(), text.end(), IsControl))
        return Bad("has a control character in its command.");
    if (text.size() < 4)
        return LaunchCommand{};
    if (text.front() != '*')
        return ParseProgram(text);
    text.remove_prefix(1);
    if (text.find('"') != std::string_view::npos)
        return Bad("has a quote inside its command; only a whole program name may be quoted.");
    const std::string_view word = text.substr(0, 4);
    text.remove_prefix(word.size());
    if (word == "APPL")
        return ParseInstalled(text);
    if (word == "HTTP")
        return ParseLink(text);
    if (word == "MENU")
        return ParseMenu(text);
    return Bad("has an unknown word after *; the words are APPL, HTTP and MENU.");
}

std::string BadItemText(std::string_view label, std::string_view fault)
{
    std::string text = "The menu item \"";
    text += label;
    text += "\" ";
    text += fault;
    return text;
}

std::optional<std::string> ReadShortcutUrl(std::string_view text)
{
    bool inSection = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            const size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        SameLetters(Trim(line.substr(1, close - 1)), "InternetShortcut");
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos ||
            !SameLetters(Trim(line.substr(0, equals)), "URL"))
            continue;
        const std::string_view value = Trim(line.substr(equals + 1));
        if (value.empty() || value.size() > kMaxUrlBytes)
            return std::nullopt;
        return std::string(value);
    }
    return std::nullopt;
}

} // namespace tour
