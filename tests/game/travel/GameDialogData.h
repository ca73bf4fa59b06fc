#pragma once
// The game's data and language libraries for tests that run the game's dialogs: both copied
// from the source tree into the test's folder as drive C:, after any libraries named first
// (folders the test wrote there), with the hooks, template kinds and fonts dialogs are built
// with.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/FontList.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/LibraryHooks.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {

inline void OpenGameDataForDialogs(std::initializer_list<const char*> first = {})
{
    namespace fs = std::filesystem;
    const fs::path source = qmtest::SourceDir() / "data" / "game";
    for (const char* lib : {"QM3Data", "QM3Lang"})
        fs::copy(source / lib, qmtest::TempDir() / lib, fs::copy_options::recursive);
    qmtest::UseTempDirAsDriveC();
    for (const char* lib : first)
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>((std::string("C:\\") + lib).c_str()));
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Data"));
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Lang"));
    InstallDefinitionTextHooks();
    InstallLibraryHooks();
    RegisterAllTemplateKinds();
    FontList fonts;
    ASSERT_TRUE(LoadFontList(fonts));
    ASSERT_EQ(CDrawEnv::InitFonts(&fonts), 0);
}

} // namespace traveltest
