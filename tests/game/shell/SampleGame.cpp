#include "tests/game/shell/SampleGame.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/controls/Wind.h"
#include "engine/controls/text/EngineHooks.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "game/shell/GameGlobals.h"
#include "game/shell/MainWnd.h"
#include "game/shell/QM3Appl.h"
#include "game/shell/SoundSlots.h"
#include "platform/Desktop.h"
#include "platform/SystemInfo.h"
#include "platform/Window.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"
#include "tools/PngImage.h"

namespace fs = std::filesystem;

namespace shelltest {

fs::path CopySampleGame(std::initializer_list<const char*> discs)
{
    const fs::path source = qmtest::SourceDir() / "data" / "game";
    const fs::path folder = qmtest::TempDir();
    fs::copy(source / "QM3Data", folder / "QM3Data.qmd", fs::copy_options::recursive);
    fs::copy(source / "QM3Lang", folder / "QM3Lang.lng", fs::copy_options::recursive);
    if (discs.size() == 0)
        return folder;
    fs::create_directories(folder / "QM3DISC");
    for (const char* disc : discs)
        fs::copy(source / disc, folder / "QM3DISC" / (std::string(disc) + ".qmd"),
                 fs::copy_options::recursive);
    fs::copy(source / "QM3DISC1.MRK", folder / "QM3DISC1.MRK");
    return folder;
}

void UseSampleGame(const fs::path& folder)
{
    qmtest::UseTempDirAsDriveC();
    plat::SetProgramFolder(folder);
    InstallEngineHooks();
}

void ExpectGameWindowGolden(const char* name, int rows)
{
    ExpectGameWindowAreaGolden(name, CRect(0, 0, rows, 640));
}

void ExpectGameWindowAreaGolden(const char* name, const CRect& area)
{
    CWind* window = GetMainWnd()->GetOwnerWnd();
    GetMainWnd()->Draw(true);
    plat::UpdateWindow(window->GetHwnd());
    const plat::Point origin = plat::ClientToScreen(window->GetHwnd(), {area.GetLeft(), area.GetTop()});
    const plat::Rect shot = plat::Rect::FromSize(origin.x, origin.y, area.GetRight() - area.GetLeft(),
                                                 area.GetBottom() - area.GetTop());
    const fs::path made = qmtest::TempDir() / name;
    ASSERT_TRUE(plat::WriteDesktopPng(made, &shot));
    const fs::path golden = qmtest::SourceDir() / "tests" / "game" / "shell" / "golden" / name;
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        fs::copy_file(made, golden, fs::copy_options::overwrite_existing);
    const IndexedImage got = ReadIndexedPng(made);
    const IndexedImage want = ReadIndexedPng(golden);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_TRUE(got.pixels == want.pixels) << name << " differs from its golden picture";
}

SampleGameScreen::SampleGameScreen() = default;
SampleGameScreen::~SampleGameScreen() = default;

void SampleGameScreen::SetUp()
{
    folder = CopySampleGame({});
    PrepareData(folder);
    UseSampleGame(folder);
    SetSoundFactory([this](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
        return std::make_unique<FakeSound>(id, streamed, sounds, 0);
    });
    box = std::make_unique<CMsgBox>();
    appl = std::make_unique<CQM3Appl>();
    SendMsg(*appl, 2, 0, 0, nullptr);
    ASSERT_NE(GetModuleMgr(), nullptr);
}

void SampleGameScreen::TearDown()
{
    appl.reset();
    box.reset();
    SetSoundFactory(nullptr);
}

} // namespace shelltest
