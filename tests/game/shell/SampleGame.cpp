#include "tests/game/shell/SampleGame.h"

#include "engine/controls/text/EngineHooks.h"
#include "platform/SystemInfo.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

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

} // namespace shelltest
