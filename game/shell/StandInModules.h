#pragma once
// The modules whose screens are not built yet, each on its type's base and rectangle: the
// landmark shows the landmark's screen, sets the party up at the outfitting store and leaves
// at once; the rafting and river catch modules leave as soon as they start; every
// other type is an empty module.
#include <cstdint>

#include "game/base/Module.h"
#include "game/base/ModuleLinks.h"

class CParty;
class CTrip;

// Type 9, until the landmark module (game/landmarks/Landmark.h) takes its place in the
// running game: shows the template list of the travel module's landmark id when there is one. At
// the outfitting store (10101) it takes companions and the starter kit. Whatever the
// landmark, it then leaves (message 101 queued for the next tick), so the trip goes on.
class CStandInLandmark : public CFrameModule, public CLandmarkLink {
public:
    static constexpr int32_t kOutfittingStore = 10101;

    explicit CStandInLandmark(const CRect& rect) : CFrameModule(rect) {}
    void OnAttach() override;
    // Tells the landmark's characters that a trade begins; the stand-in has none and only
    // counts the notices, so that who is told can be seen.
    void NotifyCharacters() override { ++notices_; }
    int32_t GetNoticeCount() const { return notices_; }

private:
    int32_t notices_ = 0;
};

// The outfitting store's companion choice as a player makes it who takes the travellers in
// table order: a pair's partner comes along, a pair only while at most two are chosen, four
// in all. They become members from slot 1 (five members then), their goods go to the party
// (money to the money) and every market is deleted.
void TakeStoreCompanions(CTrip& trip);
// Six oxen, food of every kind the party eats, feed, salt, clothing and two spare parts of
// each wagon part: well within what six oxen pull.
void AddStarterKit(CParty& party);

// Types 2 and 3.
class CPlainFrameModule : public CFrameModule {
public:
    explicit CPlainFrameModule(const CRect& rect) : CFrameModule(rect) {}
};

// An empty module over an animated frame.
class CPlainAnimModule : public CAnimModule {
public:
    explicit CPlainAnimModule(const CRect& rect) : CAnimModule(rect) {}
};

// Types 6 and 8 (river catch, rafting): leave as soon as they start.
class CPassingAnimModule : public CPlainAnimModule {
public:
    using CPlainAnimModule::CPlainAnimModule;
    void Start() override;
};
