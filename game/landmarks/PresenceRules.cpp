#include "game/landmarks/PresenceRules.h"

#include <initializer_list>

#include "engine/controls/BTplList.h"

namespace landmark {
namespace {

struct PersonList {
    int32_t listId;
    std::initializer_list<int16_t> persons;
};

// The character lists and whose characters they show (15836 and 15838 show nobody's).
const PersonList kCharacterLists[] = {
    {15831, {1, 10}},     {15832, {7, 13, 14}}, {15833, {4, 17, 20}}, {15834, {2, 19}},
    {15835, {6, 11, 18}}, {15837, {3, 9}},      {15839, {16}},
};
constexpr int32_t kFirstCharacterList = 15831;
constexpr int32_t kLastCharacterList = 15839;

// The town lists and the travellers whose elements they carry.
const PersonList kTownLists[] = {
    {10110, {20, 4}}, {10111, {2}},     {10112, {17}},   {10113, {10, 18, 11}}, {10114, {1, 16}},
    {10115, {9, 19}}, {10116, {14, 6}}, {10117, {3, 7}}, {10118, {13, 15}},
};

const PersonList* Find(const PersonList* begin, const PersonList* end, int32_t listId)
{
    for (const PersonList* l = begin; l != end; ++l)
        if (l->listId == listId)
            return l;
    return nullptr;
}

// Renumbers element `id` when the list holds it.
void Renumber(CBTplList& list, int32_t id)
{
    if (list.Find(id))
        list.SetId(id, -id);
}

} // namespace

int32_t CharacterScreenOf(int16_t personId)
{
    for (const PersonList& l : kCharacterLists)
        for (int16_t p : l.persons)
            if (p == personId)
                return l.listId;
    return 0;
}

bool ScreenServesPerson(int32_t listId, int16_t personId)
{
    return personId != 0 && CharacterScreenOf(personId) == listId;
}

void ApplyPresenceRules(CBTplList& list, int32_t listId, const std::function<bool(int16_t)>& isListed,
                        int16_t shown, bool memberShown)
{
    if (const PersonList* town = Find(std::begin(kTownLists), std::end(kTownLists), listId)) {
        for (int16_t p : town->persons)
            if (!isListed(p))
                Renumber(list, kTownElementBase + p);
        return;
    }
    if (listId < kFirstCharacterList || listId > kLastCharacterList)
        return;
    const PersonList* characters = Find(std::begin(kCharacterLists), std::end(kCharacterLists), listId);
    if (!characters)
        return;
    for (int16_t p : characters->persons) {
        if (shown != p) {
            Renumber(list, kCharacterElementBase + p);
            Renumber(list, kSecondElementBase + p);
        }
        if (memberShown)
            Renumber(list, kSecondElementBase + p);
    }
}

} // namespace landmark
