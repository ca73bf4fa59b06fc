#pragma once
// The game as a player installs it, for the tests that start the whole game on the sample
// data: the libraries (and the discs asked for) copied into the test's folder, which becomes
// the program folder, with the engine's hooks and window classes installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>

#include "engine/framework/Rect.h"
#include "tests/game/base/FakeSound.h"

class CMsgBox;
class CQM3Appl;

namespace shelltest {

// Copies data/game's libraries into the test's folder as QM3Data.qmd and QM3Lang.lng, and
// each disc named ("Disc1", "Disc2") into its disc folder QM3DISC with disc 1's marker
// beside the libraries. Answers the folder. The files are hard links to one copy made per test
// process: change them only by removing them or writing new ones (qmtest::ReplaceFile), never
// by writing into them.
std::filesystem::path CopySampleGame(std::initializer_list<const char*> discs);
// Makes the folder the program folder (drive C: the test's folder) and installs the engine's
// hooks and window classes, as the program does before it makes its application.
void UseSampleGame(const std::filesystem::path& folder);

// The game window's top `rows` rows, drawn now, against the golden picture
// tests/game/shell/golden/NAME; with QM_UPDATE_GOLDEN=1 in the environment the picture made
// becomes the golden one.
void ExpectGameWindowGolden(const char* name, int rows);
// The same for an area of the game window.
void ExpectGameWindowAreaGolden(const char* name, const CRect& area);

// A fixture with the game started on a copy of the sample data, past its start (the opening
// screen current), its sounds fakes that note into `sounds`.
class SampleGameScreen : public ::testing::Test {
protected:
    SampleGameScreen();
    ~SampleGameScreen() override;
    void SetUp() override;
    // Closes the game (and its open document) and puts the game's sounds back.
    void TearDown() override;
    // Changes to the copied data before the game starts.
    virtual void PrepareData(const std::filesystem::path&) {}

    std::filesystem::path folder;
    Log sounds;
    std::unique_ptr<CMsgBox> box;
    std::unique_ptr<CQM3Appl> appl;
};

} // namespace shelltest
