// The main of every test executable.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/Fatal.h"
#include "platform/Platform.h"
#include "tests/support/TestEnv.h"

namespace qmtest {
namespace {

plat::FakeClock g_clock;
std::filesystem::path g_tempDir;

std::vector<std::function<void()>>& Resets()
{
    static std::vector<std::function<void()>> resets;
    return resets;
}

class FreshStateListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& info) override
    {
        plat::ResetPlatform();
        g_clock.Reset(1000000);
        plat::SetClock(&g_clock);
        plat::SetFatalHook(plat::ThrowingFatalHook());
        plat::SetBackend(plat::Backend::Null);
        static std::atomic<int> counter{0};
        g_tempDir = std::filesystem::temp_directory_path() /
                    ("qmtest-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
                     info.name());
        std::filesystem::create_directories(g_tempDir);
        for (auto& reset : Resets())
            reset();
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        std::error_code ec;
        std::filesystem::remove_all(g_tempDir, ec);
        plat::SetClock(nullptr);
    }
};

}  // namespace

plat::FakeClock& Clock() { return g_clock; }
const std::filesystem::path& TempDir() { return g_tempDir; }

std::filesystem::path SourceDir()
{
    if (const char* env = std::getenv("QM_SOURCE_DIR"); env && *env)
        return env;
    return std::filesystem::current_path();
}

void AddReset(std::function<void()> reset) { Resets().push_back(std::move(reset)); }

}  // namespace qmtest

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new qmtest::FreshStateListener);
    return RUN_ALL_TESTS();
}
