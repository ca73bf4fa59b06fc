#pragma once
// What the program's saved-game runs share: the slot files the game writes into the test's
// folder, the script steps that save into a slot through the control bar, open slot 1 from the
// opening screen and quit, and the comparison of a slot with its goldens.
#include <filesystem>
#include <string>

namespace qm3test {

// Slot `n` (1-5) as the game run by qmtest::RunProgram writes it.
std::filesystem::path SlotFile(int n);

// Script steps: through the options panel into slot `slot` (1-5) under `name`.
std::string SaveSteps(int slot, const std::string& name);
// Script steps from the start of the program: the opening screen's open-game choice, slot 1.
std::string OpenSlotOneSteps();
// Script steps: the options panel's quit, the save it offers declined.
std::string QuitSteps();

// The slot's bytes and qmsave text against goldens golden/`name`.qm3 and `name`.qmsave.txt;
// with QM_UPDATE_GOLDEN=1 they are written first. `remake` names the command that remakes them.
void ExpectSlotAsGolden(const std::filesystem::path& slot, const std::string& name,
                        const std::string& remake);

} // namespace qm3test
