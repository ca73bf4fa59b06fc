#pragma once
// The game's sample data (data/game: QM3Data and QM3Lang) opened as folder libraries, so that
// tests read the route, the climate tables and the events the game itself reads.
#include <filesystem>
#include <string>

namespace traveltest {

// Drive C: becomes data/game of the source tree (both libraries are added), drive D: the
// test's temporary folder, where saved records go. The game's template kinds are registered,
// so the screens' template lists build.
void OpenSampleData();

// The golden file `name` beside the travel tests; with QM_UPDATE_GOLDEN=1 the actual text is
// written there first (and the comparison then passes).
std::string Golden(const std::string& name, const std::string& actual);

} // namespace traveltest
