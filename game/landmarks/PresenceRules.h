#pragma once
// Which person a landmark screen offers. Town lists carry an element for each traveller met in
// the town (element 529 + person id) and character lists an element for each person whose
// character they show (549 + id, and 569 + id for a character who is not a party member).
// Before such a list is built, the elements of persons who are not with the trip, or who are
// not the character being shown, are renumbered (id -X), so that the screen leaves them out.
#include <cstdint>
#include <functional>

class CBTplList;

namespace landmark {

// Element ids inside landmark template lists.
constexpr int32_t kTownElementBase = 529;
constexpr int32_t kCharacterElementBase = 549;
constexpr int32_t kSecondElementBase = 569;

// The character list (template list) of a person's character; 0 for a person who has none.
int32_t CharacterScreenOf(int16_t personId);
// Whether the character list shows the person's character.
bool ScreenServesPerson(int32_t listId, int16_t personId);

// Renumbers the list's person elements before it is built. `isListed` tells whether a person
// stands in the trip's person table (town lists); `shown` is the person id of the character
// being shown (0: none) and `memberShown` whether that character is a party member (the
// character index 0), whose second elements all go.
void ApplyPresenceRules(CBTplList& list, int32_t listId, const std::function<bool(int16_t)>& isListed,
                        int16_t shown, bool memberShown);

} // namespace landmark
