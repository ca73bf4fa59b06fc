#pragma once
// CLandmark: the landmark module (type 9), the screen shown while the party stands at a
// landmark of the route. It picks the screen the travel module names (or, at a random
// character landmark, one of the party's members and two other travellers as characters),
// builds it from template lists with the presence rules (PresenceRules.h), keeps the store of
// a trading landmark (CStore), plays the landmark's music and runs the screen transitions. Its
// frame (object 933) hears the screen's buttons and characters: overlays, screens,
// transitions, music, the companion choice and the random outfit (LandmarkSetup.cpp).
//
// Whatever survives the visit lives in the travel module (person table, market slots, party)
// and the saved game's landmark flags: the module saves and loads nothing.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/base/Module.h"
#include "game/base/ModuleLinks.h"
#include "game/base/SoundSlots.h"
#include "game/base/StoreLink.h"

class CBTplList;
class CImageFrame;
class CMarket;
class CMessage;
class CStore;
class CTravel;

class CLandmark : public CFrameModule, public CLandmarkLink, public CStoreLink {
public:
    static constexpr int32_t kFrameId = 933;
    // The landmark id of a random character landmark.
    static constexpr int32_t kRandomCharacters = -52;
    // The character list shown when no member can be the character.
    static constexpr int32_t kNoMemberScreen = 15831;
    // The outfitting store's screen, where the party is set up.
    static constexpr int32_t kOutfittingStore = 10101;
    // Messages of the frame.
    enum : int32_t {
        kMsgOverlayByMorale = 295,
        kMsgMeetPerson = 296,
        kMsgOverlayKeepMusic = 297,
        kMsgLoadScreen = 307,
        kMsgShowList = 308,
        kMsgTransition = 309,
        kMsgMusic = 313,
        kMsgChooseCompanions = 426,
        kMsgRandomCompanions = 427,
        kMsgNothing = 450,
        kMsgNextCharacter = 452,
        kMsgPreviousCharacter = 453,
    };
    // Random-character states: an ordinary landmark, music not started yet, music started.
    enum : int16_t { kOrdinary = 0, kMusicPending = 1, kMusicStarted = 2 };

    explicit CLandmark(const CRect& rect);
    ~CLandmark() override;

    // CModule: Resume (from state 3 only, which Suspend sets) restores the state and
    // restarts the music of an ordinary landmark that has stopped.
    void Resume() override;

    // A frame with an owner is a live object, so that the screen's messages reach it.
    void SetOwner(CBaseObj* owner) override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void DrawContent(CDrawEnv*, const CRect&) override {}

    // Replaces the screen by template list `listId` built with the presence rules, and draws
    // it when it has a window.
    void LoadScreen(int32_t listId);
    // The characters are told to stop, object `oldId` goes (when there is one) and the list is
    // built on the current screen; list 518221 hides object 592.
    void ShowOverlay(int32_t oldId, int32_t listId);
    // Every character on the screen gets the video event "finished" (-23, 4, 4), as at the end
    // of its clip. A character's stop actions may rebuild the screen meanwhile: those no
    // longer on it are not told.
    void NotifyCharacters() override;
    // Kind 0 (iris, speed 20) or 1 (box, speed 8) in the direction; any other kind is warned
    // about.
    void DoTransition(int32_t kind, int32_t direction);
    // Modes 0-3: opening, opening over a black box, opening then closing over it, closing.
    void RunTransition(int32_t kind, int32_t mode);
    void PlayMusic(int32_t musicId);
    // Builds the list (rules on: a whole screen, which becomes the screen; off: an overlay on
    // the screen) and answers its top object.
    CBaseObj* BuildScreen(int32_t listId, bool rules);

    // Application commands 288, 431 and 442 (the dispatcher forwards them) and the set-up
    // popup the companion choice and the random outfit run (LandmarkSetup.cpp).
    void ShowSuppliesList(CMessage& message);
    void OnChoiceListChange(CMessage& message);
    void ShowStockList(CMessage& message);
    int32_t RunSetupPopup(CTravel& travel, CImageFrame& popup, int16_t memberCount);

    // CStoreLink
    CMarket* GetMarket() const override;
    CMarket* GetOutfitMarket(int16_t i) const override;
    double GetOutfitValue(int16_t i) const override;
    void NewCart() override;
    void SetCartCount(int16_t type, int16_t count, double priceFactor) override;
    int16_t GetCartCount(int16_t type) const override;
    void Purchase(CParty& party) override;

    CFrame* GetScreen() const { return screen_; }
    int32_t GetMusicId() const { return musicId_; }
    int16_t GetCharacterId(int16_t i) const { return ValidCharacter(i) ? charIds_[i] : 0; }
    int32_t GetCharacterScreen(int16_t i) const { return ValidCharacter(i) ? charScreens_[i] : 0; }
    int16_t GetCharacterIndex() const { return charIndex_; }
    int16_t GetRandomState() const { return randomState_; }

protected:
    // The engine's transition of the frame; tests record it instead.
    virtual void RunScreenTransition(int32_t code, int32_t direction, int32_t speed);

private:
    static bool ValidCharacter(int16_t i) { return i >= 0 && i < 3; }
    void PickMemberCharacter(const CTravel* travel);
    void PickOtherCharacters(const CTravel* travel);
    void MakeMarkets(const CTravel* travel, int32_t variant);
    void CycleCharacter(int16_t step);
    // What a built screen gets from the trip: the post element, the stop buttons greyed
    // without the items a stop needs, the characters started.
    void SetUpPostElement(CFrame* screen) const;
    void GreyStopButtons(CFrame* built) const;
    void StartCharacters() const;
    std::vector<CFrame*> Characters() const;
    // Messages 426 and 427 and what they share (LandmarkSetup.cpp).
    void ChooseCompanions();
    void TakeRandomCompanions();
    void TakeGoodsOf(const CTravel& travel, int16_t personId) const;
    void DeletePopup();

    CFrame* screen_ = nullptr;
    std::unique_ptr<CMarket> outfitMarket_;
    SoundHandle music_;
    std::unique_ptr<CImageFrame> popup_;
    std::unique_ptr<CStore> store_;
    int32_t musicId_ = 0;
    std::array<int16_t, 3> charIds_ = {};
    std::array<int32_t, 3> charScreens_ = {};
    int16_t charIndex_ = 0;
    int16_t randomState_ = kOrdinary;
};
