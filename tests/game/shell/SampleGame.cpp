#include "tests/game/shell/SampleGame.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/controls/Wind.h"
#include "engine/controls/text/EngineHooks.h"
#include "game/shell/GameGlobals.h"
#include "game/shell/MainWnd.h"
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
    CWind* window = GetMainWnd()->GetOwnerWnd();
    GetMainWnd()->Draw(true);
    plat::UpdateWindow(window->GetHwnd());
    const plat::Point origin = plat::ClientToScreen(window->GetHwnd(), {0, 0});
    const plat::Rect area = plat::Rect::FromSize(origin.x, origin.y, 640, rows);
    const fs::path made = qmtest::TempDir() / name;
    ASSERT_TRUE(plat::WriteDesktopPng(made, &area));
    const fs::path golden = qmtest::SourceDir() / "tests" / "game" / "shell" / "golden" / name;
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        fs::copy_file(made, golden, fs::copy_options::overwrite_existing);
    const IndexedImage got = ReadIndexedPng(made);
    const IndexedImage want = ReadIndexedPng(golden);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_TRUE(got.pixels == want.pixels) << name << " differs from its golden picture";
}

} // namespace shelltest
