#include "tests/game/shell/SampleGame.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/controls/Wind.h"
#include "engine/controls/text/EngineHooks.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/SoundSlots.h"
#include "game/shell/QM3Appl.h"
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

    // Fails the running test when a shared file changed (written in place through a test's
    // link) and makes the copy again.
    void Check()
    {
        if (const std::string changed = FirstChanged(); !changed.empty()) {
            ADD_FAILURE() << "the shared sample file " << changed
                          << " was written in place through a test's link; write a new file instead";
            Make();
        }
    }
    // Links data/game's folder or file `from` as `to`, its folders made, from the list of
    // entries made with the copy (listing the folders again for every test costs more).
    void Link(std::string_view from, const fs::path& to) const
    {
        const std::string base = folder_.string() + "/";
        for (const Entry& entry : entries_) {
            const std::string_view name = entry.name;
            if (name != from &&
                !(name.starts_with(from) && name.size() > from.size() && name[from.size()] == '/'))
                continue;
            const std::string source = base + entry.name;
            const std::string target = to.string() + entry.name.substr(from.size());
            const int failed =
                entry.folder ? mkdir(target.c_str(), 0777) : link(source.c_str(), target.c_str());
            if (failed != 0)
                throw fs::filesystem_error("cannot link the sample data", source, target,
                                           std::error_code(errno, std::generic_category()));
        }
    }

private:
    // A folder or a file of the copy, by its path in it ("QM3Data/NOD"), folders before what they
    // hold; for a file the size and time it was made with.
    struct Entry {
        std::string name;
        bool folder;
        off_t size;
        struct timespec modified;
    };

    void Make()
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        fs::copy(qmtest::SourceDir() / "data" / "game", folder_, fs::copy_options::recursive);
        entries_.clear();
        for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder_)) {
            struct stat info {};
            if (stat(item.path().c_str(), &info) != 0)
                continue;
            entries_.push_back({item.path().lexically_relative(folder_).string(), S_ISDIR(info.st_mode),
                                info.st_size, info.st_mtim});
        }
    }
    std::string FirstChanged() const
    {
        for (const Entry& entry : entries_) {
            if (entry.folder)
                continue;
            const std::string path = (folder_ / entry.name).string();
            struct stat info {};
            if (stat(path.c_str(), &info) != 0 || info.st_size != entry.size ||
                info.st_mtim.tv_sec != entry.modified.tv_sec ||
                info.st_mtim.tv_nsec != entry.modified.tv_nsec)
                return path;
        }
        return {};
    }

    fs::path folder_;
    std::vector<Entry> entries_;
};

SampleDataCache& SampleData()
{
    static SampleDataCache cache;
    return cache;
}

} // namespace

fs::path CopySampleGame(std::initializer_list<const char*> discs)
{
    SampleDataCache& source = SampleData();
    source.Check();
    const fs::path folder = qmtest::TempDir();
    source.Link("QM3Data", folder / "QM3Data.qmd");
    source.Link("QM3Lang", folder / "QM3Lang.lng");
    if (discs.size() == 0)
        return folder;
    fs::create_directories(folder / "QM3DISC");
    for (const char* disc : discs)
        source.Link(disc, folder / "QM3DISC" / (std::string(disc) + ".qmd"));
    source.Link("QM3DISC1.MRK", folder / "QM3DISC1.MRK");
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
    SampleData().Check(); // fails the test that wrote into a shared sample file, not the next one
}

} // namespace shelltest
