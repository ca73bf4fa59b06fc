#include "tests/game/travel/SampleData.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/shell/TemplateTypes.h"
#include "platform/Files.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {

void OpenSampleData()
{
    plat::SetDrives({{'C', qmtest::SourceDir() / "data" / "game", plat::DriveKind::Fixed},
                     {'D', qmtest::TempDir(), plat::DriveKind::Fixed}});
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Data"));
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Lang"));
    RegisterTemplateTypes();
}

std::string Golden(const std::string& name, const std::string& actual)
{
    const std::filesystem::path path = qmtest::SourceDir() / "tests" / "game" / "travel" / "golden" / name;
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        std::ofstream(path, std::ios::binary) << actual;
    return qmtest::ReadWholeFile(path);
}

} // namespace traveltest
