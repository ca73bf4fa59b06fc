#include "launcher/LaunchCommand.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tour::LaunchKind;
using tour::ParseLaunchCommand;

struct GoodCase {
    const char* command;
    LaunchKind kind;
    const char* program;
    const char* argument; // nullptr: no argument part
    const char* key;
    const char* subkey;
    int32_t screen;
};

TEST(LaunchCommand, ParsesEachKindOfCommand)
{
    const GoodCase cases[] = {
        {"", LaunchKind::None, "", nullptr, "", "", 0},
        {"qm3", LaunchKind::None, "", nullptr, "", "", 0},
        {"*", LaunchKind::None, "", nullptr, "", "", 0},
        {"qm3.EXE", LaunchKind::Program, "qm3.EXE", nullptr, "", "", 0},
        {"editor read me.txt", LaunchKind::Program, "editor", "read me.txt", "", "", 0},
        {"editor ", LaunchKind::Program, "editor", nullptr, "", "", 0},
        {" ReadMe.txt", LaunchKind::Program, "", "ReadMe.txt", "", "", 0},
        {"\"my game\" save.dat", LaunchKind::Program, "my game", nullptr, "", "", 0},
        {"\"qm3\"", LaunchKind::Program, "qm3", nullptr, "", "", 0},
        {"*APPL[Quillmark][3.0] bin\\qm3.EXE", LaunchKind::Installed, "APPL", "bin\\qm3.EXE", "Quillmark",
         "3.0", 0},
        {"*APPL[Quillmark] qm3", LaunchKind::Installed, "APPL", "qm3", "Quillmark", "", 0},
        {"*HTTP Site.url", LaunchKind::Link, "HTTP", "Site.url", "", "", 0},
        {"*HTTP My Site.url", LaunchKind::Link, "HTTP", "My Site.url", "", "", 0},
        {"*MENU 1002", LaunchKind::Menu, "MENU", "1002", "", "", 1002},
        {"*MENU 0x3EA", LaunchKind::Menu, "MENU", "0x3EA", "", "", 1002},
        {"*MENU 2147483647", LaunchKind::Menu, "MENU", "2147483647", "", "", 2147483647},
    };
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(c.command);
        const tour::LaunchCommand parsed = ParseLaunchCommand(c.command);
        EXPECT_EQ(parsed.kind, c.kind) << parsed.fault;
        EXPECT_EQ(parsed.program, c.program);
        EXPECT_EQ(parsed.argument.has_value(), c.argument != nullptr);
        if (parsed.argument && c.argument) {
            EXPECT_EQ(*parsed.argument, c.argument);
        }
        EXPECT_EQ(parsed.key, c.key);
        EXPECT_EQ(parsed.subkey, c.subkey);
        EXPECT_EQ(parsed.screen, c.screen);
    }
}

TEST(LaunchCommand, RefusesWhatTheGrammarDoesNotDescribe)
{
    const std::pair<const char*, const char*> cases[] = {
        {"*appl[Quillmark] qm3", "unknown word"},
        {"*http Site.url", "unknown word"},
        {"*menu 2", "unknown word"},
        {"*RUNS qm3", "unknown word"},
        {"*APP", "unknown word"},
        {"*HTTPS Site.url", "no shortcut file"},
        {"*APPL qm3", "no product key"},
        {"*APPL[] qm3", "no product key"},
        {"*APPL[Quillmark qm3", "no product key"},
        {"*APPL[Quillmark][3.0 qm3", "subkey"},
        {"*APPL[Quillmark][] qm3", "subkey"},
        {"*APPL[Quillmark]", "no program"},
        {"*APPL[Quillmark][3.0]", "no program"},
        {"*APPL[Quillmark][3.0] ", "no program"},
        {"*APPL[Quillmark]x qm3", "no program"},
        {"*HTTP", "no shortcut file"},
        {"*HTTP ", "no shortcut file"},
        {"*MENU", "no screen number"},
        {"*MENU ", "no screen number"},
        {"*MENU 0", "not a whole number"},
        {"*MENU -3", "not a whole number"},
        {"*MENU 12 more", "not a whole number"},
        {"*MENU 0x", "not a whole number"},
        {"*MENU 2147483648", "not a whole number"},
        {"*MENU 1e3", "not a whole number"},
        {"\"qm3", "not closed"},
        {"\"\" doc", "empty quoted"},
        {"qm3 \"a doc\"", "quote inside"},
        {"*HTTP \"Site.url\"", "quote inside"},
        {"qm3\tdoc", "control character"},
        {"ab\x7f", "control character"},
    };
    for (const auto& [command, fault] : cases) {
        SCOPED_TRACE(command);
        const tour::LaunchCommand parsed = ParseLaunchCommand(command);
        EXPECT_EQ(parsed.kind, LaunchKind::Bad);
        EXPECT_NE(parsed.fault.find(fault), std::string::npos) << parsed.fault;
    }
}

TEST(LaunchCommand, LimitsTheCommandTo255Bytes)
{
    const std::string longest = "qm3 " + std::string(251, 'd');
    EXPECT_EQ(ParseLaunchCommand(longest).kind, LaunchKind::Program);
    const tour::LaunchCommand tooLong = ParseLaunchCommand(longest + "d");
    EXPECT_EQ(tooLong.kind, LaunchKind::Bad);
    EXPECT_NE(tooLong.fault.find("255 bytes"), std::string::npos);
}

TEST(LaunchCommand, BadItemTextNamesTheItem)
{
    EXPECT_EQ(tour::BadItemText("Web site", ParseLaunchCommand("*HTTP").fault),
              "The menu item \"Web site\" names no shortcut file after *HTTP.");
}

TEST(LaunchCommand, ReadsTheUrlOfAShortcutFile)
{
    const std::string longest(tour::kMaxUrlBytes, 'u');
    const std::pair<std::string, const char*> cases[] = {
        {"[InternetShortcut]\nURL=https://quillmark.example/\n", "https://quillmark.example/"},
        {"[internetshortcut]\r\nurl = https://quillmark.example/a b \r\n", "https://quillmark.example/a b"},
        {"[Other]\nURL=wrong\n[InternetShortcut]\nIconIndex=0\nURL=right", "right"},
        {"URL=outside\n", nullptr},
        {"[InternetShortcut]\nURL=\n", nullptr},
        {"[InternetShortcut]\nURLs=x\n", nullptr},
        {"[InternetShortcut]\nURL=" + longest + "\n", longest.c_str()},
        {"[InternetShortcut]\nURL=" + longest + "u\n", nullptr},
        {"", nullptr},
    };
    for (const auto& [text, url] : cases) {
        SCOPED_TRACE(text.substr(0, 60));
        const std::optional<std::string> read = tour::ReadShortcutUrl(text);
        EXPECT_EQ(read.has_value(), url != nullptr);
        if (read && url) {
            EXPECT_EQ(*read, url);
        }
    }
}

} // namespace
