#include "tests/game/shell/SampleGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

namespace {

// The sample data copied once per test process; every test's copy links its files. A test's
// changes to its copy replace or remove files (qmtest::ReplaceFile writes a new file), so the
// shared files never change; each copy checks that they did not.
class SampleDataCache {
public:
    SampleDataCache()
        : folder_(fs::temp_directory_path() / ("qmtest-" + std::to_string(getpid()) + "-sample-game"))
    {
        Make();
    }
    ~SampleDataCache()
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    SampleDataCache(const SampleDataCache&) = delete;
    SampleDataCache& operator=(const SampleDataCache&) = delete;

    // The folder with data/game's content, unchanged since it was made: a file changed in place
    // through a test's links fails the running test and the folder is made again.
    const fs::path& Folder()
    {
        if (const std::string changed = FirstChanged(); !changed.empty()) {
            ADD_FAILURE() << "the shared sample file " << changed
                          << " was written in place through a test's link; write a new file instead";
            Make();
        }
        return folder_;
    }

private:
    struct Stamp {
        fs::path path;
        off_t size;
        struct timespec modified;
    };

    void Make()
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        fs::copy(qmtest::SourceDir() / "data" / "game", folder_, fs::copy_options::recursive);
        stamps_.clear();
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder_)) {
            struct stat info {};
            if (entry.is_regular_file() && stat(entry.path().c_str(), &info) == 0)
                stamps_.push_back({entry.path(), info.st_size, info.st_mtim});
        }
    }
    std::string FirstChanged() const
    {
        for (const Stamp& stamp : stamps_) {
            struct stat info {};
            if (stat(stamp.path.c_str(), &info) != 0 || info.st_size != stamp.size ||
                info.st_mtim.tv_sec != stamp.modified.tv_sec ||
                info.st_mtim.tv_nsec != stamp.modified.tv_nsec)
                return stamp.path.string();
        }
        return {};
    }

    fs::path folder_;
    std::vector<Stamp> stamps_;
};

const fs::path& SampleData()
{
    static SampleDataCache cache;
    return cache.Folder();
}

void LinkCopy(const fs::path& from, const fs::path& to)
{
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::create_hard_links);
}

} // namespace

fs::path CopySampleGame(std::initializer_list<const char*> discs)
{
    const fs::path& source = SampleData();
    const fs::path folder = qmtest::TempDir();
    LinkCopy(source / "QM3Data", folder / "QM3Data.qmd");
    LinkCopy(source / "QM3Lang", folder / "QM3Lang.lng");
    if (discs.size() == 0)
        return folder;
    fs::create_directories(folder / "QM3DISC");
    for (const char* disc : discs)
        LinkCopy(source / disc, folder / "QM3DISC" / (std::string(disc) + ".qmd"));
    LinkCopy(source / "QM3DISC1.MRK", folder / "QM3DISC1.MRK");
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
    SampleData(); // fails the test that wrote into a shared sample file, not the next one
}

} // namespace shelltest
