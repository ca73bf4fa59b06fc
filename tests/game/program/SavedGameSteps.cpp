#include "tests/game/program/SavedGameSteps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"
#include "tools/QmSave.h"

namespace fs = std::filesystem;

namespace qm3test {

namespace {

fs::path GoldenFolder() { return qmtest::SourceDir() / "tests" / "game" / "program" / "golden"; }

std::string QmSaveText(const fs::path& file)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunQmSave({file.string()}, out, err), 0) << err.str();
    return out.str();
}

} // namespace

fs::path SlotFile(int n)
{
    return qmtest::TempDir() / "share" / "kvl" / "Quillmark III" / "Saved Games" /
           ("SLOT" + std::to_string(n) + ".QM3");
}

std::string SaveSteps(int slot, const std::string& name)
{
    // The save list's rows are 17 pixels apart, slot 1 at 170.
    return "press 5002\n"
           "tick 2\n"
           "press 5422\n"
           "tick 2\n"
           "click 200 " +
           std::to_string(170 + 17 * (slot - 1)) +
           "\n"
           "tick 1\n"
           "type " +
           name +
           "\n"
           "press 14000\n"
           "tick 2\n";
}

std::string OpenSlotOneSteps()
{
    return "tick 10\n"
           "press 422\n"
           "tick 2\n"
           "click 200 170\n"
           "tick 1\n"
           "press 14000\n"
           "tick 5\n";
}

std::string QuitSteps()
{
    return "press 5423\n"
           "tick 2\n"
           "press 14001\n"
           "tick 1\n";
}

void ExpectSlotAsGolden(const fs::path& slot, const std::string& name, const std::string& remake)
{
    ASSERT_TRUE(fs::exists(slot));
    const fs::path bytes = GoldenFolder() / (name + ".qm3");
    const fs::path text = GoldenFolder() / (name + ".qmsave.txt");
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1') {
        fs::copy_file(slot, bytes, fs::copy_options::overwrite_existing);
        std::ofstream(text, std::ios::binary) << QmSaveText(slot);
    }
    const std::string hint = "; remake the goldens (and read their texts) with QM_UPDATE_GOLDEN=1 " + remake;
    EXPECT_EQ(qmtest::ReadWholeFile(slot), qmtest::ReadWholeFile(bytes)) << name << ".qm3" << hint;
    EXPECT_EQ(QmSaveText(slot), qmtest::ReadWholeFile(text)) << name << ".qmsave.txt" << hint;
}

} // namespace qm3test
