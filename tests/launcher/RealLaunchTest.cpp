// A pick that really starts a program: the helper of tests/SpawnProbe.cpp writes down what it
// was given, so the test sees the one literal argument and the folder it ran in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "launcher/LaunchAction.h"
#include "platform/Programs.h"
#include "tests/launcher/TourFolder.h"

namespace fs = std::filesystem;

namespace {

class QuietServices : public tour::LaunchServices {
public:
    void ShowMessage(const std::string& text, bool) override { messages += text; }
    void SwitchScreen(int32_t) override {}
    bool OpenLink(const std::string&) override { return false; }
    std::string messages;
};

std::vector<std::string> ReadLines(const fs::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using RealLaunch = TourFolder;

TEST_F(RealLaunch, ADocumentFullOfShellSyntaxArrivesAsOneLiteralArgumentInTheProgramsFolder)
{
    plat::RecordSpawns(false);
    fs::create_directories(tour_ / "helper");
    fs::copy_file(QM_SPAWN_PROBE, tour_ / "helper" / "probe");
    const std::string document = "; | & $( ) > * ~ and $(touch made) blanks";
    const std::string command = "helper/probe " + document;
    QuietServices services;
    const tour::LaunchItemData item{"Probe", command, "PROGRAM did not start.", false,
                                    tour::ParseLaunchCommand(command)};
    ASSERT_EQ(item.parsed.kind, tour::LaunchKind::Program);
    EXPECT_TRUE(tour::Launch(item, services));
    EXPECT_EQ(services.messages, "");

    // The helper writes its record and ends; nobody waits for it but the test.
    const fs::path record = tour_ / "helper" / "probe.txt";
    std::vector<std::string> lines;
    for (int waited = 0; waited < 20000; waited += 10) {
        lines = ReadLines(record);
        if (!lines.empty() && lines.back().rfind("stdin ", 0) == 0)
            break;
        usleep(10000);
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "cwd " + fs::canonical(tour_ / "helper").string());
    EXPECT_EQ(lines[1], "arg " + document);
    EXPECT_EQ(lines[2].rfind("fd ", 0), 0u); // no second argument
    // Nothing the document names was made, here or in the tour.
    EXPECT_EQ(Names(tour_ / "helper"), (std::vector<std::string>{"probe", "probe.txt"}));
    EXPECT_EQ(Names(tour_), std::vector<std::string>{"helper"});
    plat::ReapChildren();
}

} // namespace
