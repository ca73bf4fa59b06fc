#pragma once
// What every test starts from: the platform reset, a fake clock at a fixed start, the
// throwing fatal hook, the null backend and a fresh temporary folder.
#include <filesystem>
#include <functional>

#include "platform/Clock.h"

namespace qmtest {

// The fake clock installed for the running test.
plat::FakeClock& Clock();
// A temporary folder made for the running test and removed after it.
const std::filesystem::path& TempDir();
// The source tree (for committed fixtures).
std::filesystem::path SourceDir();

// Resets of process-wide engine objects run before every test, in the order added.
// Subsystems add theirs with a static QMTEST_RESET(...) in their test support file.
void AddReset(std::function<void()> reset);
struct ResetRegistrar {
    explicit ResetRegistrar(std::function<void()> reset) { AddReset(std::move(reset)); }
};

}  // namespace qmtest
