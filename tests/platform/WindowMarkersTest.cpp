#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/NamedLock.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"

namespace {

// Whether some holder (this program's window system or another process) has the lock.
bool Held(const std::string& name)
{
    std::unique_ptr<plat::NamedLock> probe = plat::NamedLock::Create(name);
    return probe && !probe->TryAcquire();
}

TEST(WindowMarkers, TitledTopLevelWindowsHoldAMarkerThatFollowsTheTitle)
{
    wintest::Recorder recorder("TourClass");
    const plat::WindowHandle main =
        wintest::MakeTopLevel("Quillmark Tour", {10, 10, 200, 100}, 0, 0, "TourClass");
    const plat::WindowHandle child = wintest::MakeChild(main, {0, 0, 20, 20}, "TourClass");
    plat::SetTitle(child, "Inside");
    const plat::WindowHandle untitled = wintest::MakeTopLevel("", {10, 10, 200, 100}, 0, 0, "TourClass");
    ASSERT_TRUE(main && child && untitled);

    EXPECT_TRUE(Held("window\\TOURCLASS\\Quillmark Tour"));
    EXPECT_FALSE(Held("window\\TOURCLASS\\Inside")); // child windows are not marked
    EXPECT_EQ(plat::FindWindow("tourclass", "Quillmark Tour").window, main);
    EXPECT_FALSE(plat::FindWindow("TourClass", "Inside"));
    EXPECT_FALSE(plat::FindWindow("TourClass", "Quillmark"));

    plat::SetTitle(main, "Renamed");
    EXPECT_FALSE(Held("window\\TOURCLASS\\Quillmark Tour"));
    EXPECT_TRUE(Held("window\\TOURCLASS\\Renamed"));
    // A second window of the same name shares the marker until both are gone.
    plat::SetTitle(untitled, "Renamed");
    plat::DestroyWindow(main);
    EXPECT_TRUE(Held("window\\TOURCLASS\\Renamed"));
    EXPECT_EQ(plat::FindWindow("TourClass", "Renamed").window, untitled);
    plat::DestroyWindow(untitled);
    EXPECT_FALSE(Held("window\\TOURCLASS\\Renamed"));
}

TEST(WindowMarkers, FindWindowSeesAMarkerHeldByAnotherProcess)
{
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        // The other program: holds the marker until the test closes its pipe.
        close(ready[0]);
        close(done[1]);
        std::unique_ptr<plat::NamedLock> lock = plat::NamedLock::Create("window\\TOURCLASS\\Vespar Tour");
        const char ok = lock && lock->Acquire() ? '1' : '0';
        [[maybe_unused]] ssize_t n = write(ready[1], &ok, 1);
        char byte;
        n = read(done[0], &byte, 1);
        _exit(0);
    }
    close(ready[1]);
    close(done[0]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');
    const plat::FoundWindow found = plat::FindWindow("TourClass", "Vespar Tour");
    EXPECT_TRUE(found.otherProgram);
    EXPECT_EQ(found.window, 0u);
    close(done[1]);
    ASSERT_EQ(waitpid(other, nullptr, 0), other);
    close(ready[0]);
    EXPECT_FALSE(plat::FindWindow("TourClass", "Vespar Tour"));
}

} // namespace
