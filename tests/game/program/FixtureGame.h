#pragma once
// A saved game as the game writes it, for the program's saved-game runs: disc 2, a diary and
// a trip four days out (record 2).
#include <string>

namespace qm3test {

// Record 2 of the fixture's trip (without its tag).
std::string FixtureTrip();
// The whole saved game: header, name "Fixture trail", disc 2, the diary, the trip, the end.
std::string FixtureGame();

} // namespace qm3test
