#include <gtest/gtest.h>

#include <memory>

#include "engine/framework/Appl.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/LibraryHooks.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

// A manager that notes when it is destroyed.
class WatchedLibMgr : public CLibMgr {
public:
    explicit WatchedLibMgr(bool& gone) : gone_(gone) {}
    ~WatchedLibMgr() override { gone_ = true; }

private:
    bool& gone_;
};

TEST(LibraryHooks, TheApplicationMakesCountsAndDeletesTheManager)
{
    InstallLibraryHooks();
    bool firstGone = false;
    SetLibMgr(std::make_unique<WatchedLibMgr>(firstGone));
    auto app = std::make_unique<CAppl>();
    // The application starts with an empty manager of its own.
    EXPECT_TRUE(firstGone);
    EXPECT_EQ(GetLibMgr()->GetCount(), 0);
    // Without an open library the engine does not start.
    EXPECT_NE(qmtest::FatalText([&] { app->Init(1); }), "(returned)");

    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Game.qmd");
    lib.Add("STR", 77, "text\n");
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
    EXPECT_EQ(GetApplHooks().libraryCount(), 1);

    // A program may put its own manager in place; the application deletes whichever is there.
    bool ownGone = false;
    SetLibMgr(std::make_unique<WatchedLibMgr>(ownGone));
    EXPECT_EQ(GetApplHooks().libraryCount(), 0);
    app.reset();
    EXPECT_TRUE(ownGone);
}

} // namespace
