#include "game/landmarks/Landmark.h"

#include <algorithm>
#include <cstdio>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/ScreenTransition.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/input/InputFrame.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/controls/native/ColorWnd.h"
#include "engine/framework/Date.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/WndEnv.h"
#include "engine/media/SndObj.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/landmarks/LandmarkTrip.h"
#include "game/landmarks/LmCharFrm.h"
#include "game/landmarks/PresenceRules.h"
#include "game/landmarks/Store.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"

namespace {

// Markets: price column 1; the store's 205 lines, an outfit's 100.
constexpr int16_t kPriceColumn = 1;
constexpr int16_t kStoreLines = 205;
constexpr int16_t kOutfitLines = 100;
constexpr int16_t kStoreStock = 1;
constexpr int16_t kOutfitStocks[CStoreLink::kOutfitCount] = {100, 102, 104};

// The stock record of a trading landmark that is not a store variant, by the route node's
// landmark number.
struct TradingPost {
    int16_t landmarkNumber;
    int16_t stockId;
};
constexpr TradingPost kTradingPosts[] = {{6, 3},  {14, 4}, {15, 5}, {27, 6},
                                         {32, 7}, {37, 8}, {46, 9}, {55, 1}};

// Screen elements: the post element of list 10101, its message parameters by the player's post;
// the two stop buttons and the items whose packages let the party stop; the object the overlay
// 518221 hides.
constexpr int32_t kPostElement = 591;
constexpr int32_t kNoPostScreen = 210110;
constexpr int32_t kHiredPostScreen = 210111;
constexpr int32_t kOtherPostScreen = 210112;
constexpr int32_t kStopButton = 100;
constexpr int32_t kSecondStopButton = 101;
constexpr int16_t kStopItems[] = {159, 39};
constexpr int32_t kGreyedColor = 33;
constexpr int32_t kHidingOverlay = 518221;
constexpr int32_t kHiddenByOverlay = 592;
// Node kinds: a forced and an optional stop.
constexpr int16_t kForcedStop = 2;
constexpr int16_t kOptionalStop = 3;

// Music: its play request, the random character landmark's pieces.
constexpr uint32_t kMusicFlags = 14;
constexpr uint8_t kMusicLevel = 126;
constexpr uint16_t kMusicFade = 120;
constexpr uint16_t kMusicFadeOut = 180;
constexpr int32_t kIndependenceMusic = 490;
constexpr int32_t kFirstRandomMusic = 460;

// Random draws of the other characters: after this many a repeated screen is accepted.
constexpr int kMostDraws = 3001;

// Sets the two parameters of the message the element sends.
void SetMessageParams(CFrame* element, MsgWord a, MsgWord b)
{
    if (auto* input = dynamic_cast<CInputFrame*>(element)) {
        input->SetNotifyParam(a, 0);
        input->SetNotifyParam(b, 1);
    }
}

bool HoldsStopItems(const CTravel& travel)
{
    const CParty* party = travel.GetParty();
    if (!party)
        return false;
    for (int16_t type : kStopItems)
        if (party->GetSupplies()->CountOf(type) > 0)
            return true;
    return false;
}

// Whether the person is one of the party members in slots 1..count - 1.
bool IsCompanion(const CParty& party, int16_t personId)
{
    const int16_t count = party.CountMembers(false);
    for (int16_t slot = 1; slot < count; ++slot)
        if (const CPartyMember* member = party.GetMember(slot); member && member->GetId() == personId)
            return true;
    return false;
}

} // namespace

CLandmark::CLandmark(const CRect& rect) : CFrameModule(rect)
{
    const CTravel* travel = GetTravelModule();
    const int32_t id = travel ? travel->GetLandmarkId() : 0;
    const int32_t variant = (id - id / 10000 * 10000) / 100;
    if (id != kRandomCharacters) {
        LoadScreen(id);
    } else {
        randomState_ = kMusicPending;
        PickMemberCharacter(travel);
        PickOtherCharacters(travel);
        charIndex_ = 0;
        LoadScreen(charScreens_[0]);
    }
    MakeMarkets(travel, variant);
    SetId(kFrameId);
}

CLandmark::~CLandmark()
{
    store_.reset();
    ResetGlobalMsgFilter();
    if (screen_) {
        screen_->RemoveFromParent();
        delete screen_;
        screen_ = nullptr;
    }
}

void CLandmark::PickMemberCharacter(const CTravel* travel)
{
    charScreens_[0] = kNoMemberScreen;
    const CParty* party = travel ? travel->GetParty() : nullptr;
    if (!party)
        return;
    std::vector<const CPartyMember*> candidates;
    for (int16_t slot = 1; slot < party->CountMembers(false); ++slot) {
        const CPartyMember* member = party->GetMember(slot);
        if (member && member->GetHealth() > 0 && member->GetStatus() != 1)
            candidates.push_back(member);
    }
    if (candidates.empty())
        return;
    const size_t pick =
        candidates.size() == 1
            ? 0
            : static_cast<size_t>(CUtil::Random(0, static_cast<int32_t>(candidates.size()) - 1, 1));
    charIds_[0] = candidates[pick]->GetId();
    charScreens_[0] = candidates[pick]->GetCharacterScreen();
}

void CLandmark::PickOtherCharacters(const CTravel* travel)
{
    std::vector<int16_t> candidates;
    const CParty* party = travel ? travel->GetParty() : nullptr;
    for (int16_t id = 1; travel && id <= CTrip::kLastPersonId; ++id)
        if (travel->IsPersonListed(id) && !(party && IsCompanion(*party, id)))
            candidates.push_back(id);
    const auto draw = [&candidates](int16_t& id, int32_t& screen) {
        id =
            candidates[static_cast<size_t>(CUtil::Random(0, static_cast<int32_t>(candidates.size()) - 1, 1))];
        screen = landmark::CharacterScreenOf(id);
    };
    // Each character is drawn until it differs from those before it and shows another screen;
    // when the draws run out a repeated screen is accepted, and without another person at all
    // the character stays 0 (no screen), which the cycling skips.
    for (int16_t c = 1; c < 3; ++c) {
        const auto isEarlier = [this, c](int16_t id) {
            return std::find(charIds_.begin(), charIds_.begin() + c, id) != charIds_.begin() + c;
        };
        const auto screenIsEarlier = [this, c](int32_t screen) {
            return std::find(charScreens_.begin(), charScreens_.begin() + c, screen) !=
                   charScreens_.begin() + c;
        };
        if (std::none_of(candidates.begin(), candidates.end(), [&](int16_t id) { return !isEarlier(id); }))
            break;
        int16_t id = 0;
        int32_t screen = 0;
        int draws = 0;
        do
            draw(id, screen);
        while ((isEarlier(id) || screenIsEarlier(screen)) && ++draws < kMostDraws);
        while (isEarlier(id))
            draw(id, screen);
        charIds_[c] = id;
        charScreens_[c] = screen;
    }
}

void CLandmark::MakeMarkets(const CTravel* travel, int32_t variant)
{
    const int16_t people =
        travel && travel->GetParty() && travel->GetParty()->CountMembers(true) == 5 ? 5 : 4;
    std::unique_ptr<CMarket> market;
    CStore::Outfits outfits;
    if (variant == 1 || variant == 2) {
        market = std::make_unique<CMarket>(kStoreStock, kPriceColumn, kStoreLines, people);
        for (int16_t i = 0; i < kOutfitCount; ++i)
            outfits[static_cast<size_t>(i)] =
                std::make_unique<CMarket>(kOutfitStocks[i], kPriceColumn, kOutfitLines, people);
    } else if (const CRouteNode* node = travel ? travel->GetNode812() : nullptr) {
        for (const TradingPost& post : kTradingPosts)
            if (post.landmarkNumber == node->LandmarkNumber())
                market = std::make_unique<CMarket>(post.stockId, kPriceColumn, kStoreLines, people);
    }
    store_ = std::make_unique<CStore>(std::move(market), std::move(outfits));
}

void CLandmark::Resume()
{
    if (GetState() != kStateSuspended)
        return;
    CFrameModule::Resume();
    PlayMusic(musicId_);
}

void CLandmark::SetOwner(CBaseObj* owner)
{
    const bool changes = owner && owner != GetOwner();
    CFrameModule::SetOwner(owner);
    if (changes)
        RegisterLiveObject(this);
}

// ---- Screens ----

void CLandmark::LoadScreen(int32_t listId)
{
    if (screen_) {
        screen_->Destroy();
        screen_ = nullptr;
    }
    ResetGlobalMsgFilter();
    auto* built = dynamic_cast<CFrame*>(BuildScreen(listId, true));
    screen_ = built;
    if (!built || !built->GetOwnerWnd())
        return;
    CWind* window = built->GetOwnerWnd();
    if (CDrawEnv* env = window->GetWndEnv(); env && window->GetFirstFrame())
        env->SetClipRect(window->GetFirstFrame()->GetDrawnRect());
    built->Draw(true);
}

CBaseObj* CLandmark::BuildScreen(int32_t listId, bool rules)
{
    // A landmark whose list the libraries lack shows nothing rather than ending the game.
    CLibMgr* libraries = GetLibMgr();
    if (!libraries || libraries->GetResourceSize("TPL", listId, CLibMgr::kAllLibraries) <= 0)
        return nullptr;
    CTravel* travel = GetTravelModule();
    CTplList list(listId, CLibMgr::kAllLibraries, GetRsrcCache());
    const int16_t shown = randomState_ != kOrdinary ? charIds_[static_cast<size_t>(charIndex_)] : 0;
    if (rules) {
        landmark::ApplyPresenceRules(
            list, listId, [travel](int16_t id) { return travel && travel->IsPersonListed(id); }, shown,
            charIndex_ == 0);
    }
    CFrame* parent = rules || !screen_ ? static_cast<CFrame*>(this) : screen_;
    CBaseObj* built = list.Build(parent, this, 0);
    auto* top = dynamic_cast<CFrame*>(built);
    if (rules) {
        screen_ = top;
        if (top && listId == kOutfittingStore)
            SetUpPostElement(top);
    }
    if (top)
        GreyStopButtons(top);
    StartCharacters();
    return built;
}

void CLandmark::SetUpPostElement(CFrame* screen) const
{
    const CTravel* travel = GetTravelModule();
    CFrame* element = screen->FindObject(kAnyKind, kPostElement);
    if (!travel || !element)
        return;
    const int32_t value = travel->HasNoPost()     ? kNoPostScreen
                          : travel->IsHiredPost() ? kHiredPostScreen
                                                  : kOtherPostScreen;
    SetMessageParams(element, value, value);
}

void CLandmark::GreyStopButtons(CFrame* built) const
{
    const CTravel* travel = GetTravelModule();
    const CRouteNode* node = travel ? travel->GetNode812() : nullptr;
    if (!node || HoldsStopItems(*travel))
        return;
    std::vector<int32_t> buttons;
    if (node->GetKind() == kOptionalStop)
        buttons = {kStopButton, kSecondStopButton};
    else if (node->GetKind() == kForcedStop)
        buttons = {kStopButton};
    for (int32_t id : buttons) {
        CFrame* button = built->FindObject(kAnyKind, id);
        if (!button)
            continue;
        if (auto* text = dynamic_cast<CTextBtnFrame*>(button))
            text->SetTextColors(kGreyedColor, kGreyedColor);
        button->Enable(false);
    }
}

std::vector<CFrame*> CLandmark::Characters() const
{
    std::vector<CFrame*> characters;
    if (screen_)
        for (CFrame* child : ChildFrames(*screen_))
            if (child->GetKind() == CLmCharFrm::kKind)
                characters.push_back(child);
    return characters;
}

void CLandmark::StartCharacters() const
{
    for (CFrame* child : Characters())
        if (auto* character = dynamic_cast<CLmCharFrm*>(child); character && !character->HasVideo())
            character->StartMovie();
}

void CLandmark::ShowOverlay(int32_t oldId, int32_t listId)
{
    NotifyCharacters();
    if (CFrame* old = oldId != 0 && screen_ ? screen_->FindObject(kAnyKind, oldId) : nullptr) {
        if (old == screen_)
            screen_ = nullptr;
        old->Destroy();
    }
    BuildScreen(listId, false);
    if (listId == kHidingOverlay && screen_)
        if (CFrame* hidden = screen_->FindObject(kAnyKind, kHiddenByOverlay))
            hidden->Hide(true, true);
}

void CLandmark::NotifyCharacters()
{
    // A character's stop actions may rebuild the screen or delete characters: each is told
    // only while it is still on the screen.
    for (CFrame* character : Characters()) {
        if (!screen_)
            return;
        const std::vector<CFrame*> now = Characters();
        if (std::find(now.begin(), now.end(), character) == now.end())
            continue;
        CMessage finished(-23, CLmCharFrm::kEventFinished, CLmCharFrm::kEventFinished, -1);
        character->HandleMessage(finished, this);
    }
}

// ---- Transitions and music ----

void CLandmark::RunScreenTransition(int32_t code, int32_t direction, int32_t speed)
{
    DoScreenTransition(this, code, direction, speed);
}

void CLandmark::DoTransition(int32_t kind, int32_t direction)
{
    if (kind == 0) {
        RunScreenTransition(kTransitionIris, direction, 20);
    } else if (kind == 1) {
        RunScreenTransition(kTransitionBox, direction, 8);
    } else {
        char text[64];
        std::snprintf(text, sizeof text, "Unknown Transition: %ld\n", static_cast<long>(kind));
        ShowMessageBox(text, "CLandmark::DoTransition.", CMsgBox::kIconExclamation, CMsgBox::kButtonsOk, 1);
    }
}

void CLandmark::RunTransition(int32_t kind, int32_t mode)
{
    if (mode == 0 || mode == 3) {
        DoTransition(kind, mode == 0 ? kOpening : kClosing);
        return;
    }
    if (mode != 1 && mode != 2)
        return;
    auto* box = new CColorWnd(-2, GetDrawnRect(), 0, kFlagBorders);
    AddChild(box, true);
    DoTransition(kind, kOpening);
    RemoveChild(*box);
    delete box;
    if (mode == 2)
        DoTransition(kind, kClosing);
}

void CLandmark::PlayMusic(int32_t musicId)
{
    if (randomState_ == kMusicStarted)
        return;
    if (randomState_ == kMusicPending) {
        const CTravel* travel = GetTravelModule();
        const CDate* today = travel ? travel->GetCurDate() : nullptr;
        musicId_ = today && today->GetMonth() == 7 && today->GetDay() == 4
                       ? kIndependenceMusic
                       : kFirstRandomMusic + 10 * CUtil::Random(0, 2, 1);
        music_ = PlayMusicIfOn(musicId_, kMusicFlags, kMusicLevel, kMusicFade, true);
        randomState_ = kMusicStarted;
        return;
    }
    const CSndObj* playing = IsSoundInSlot(music_) ? GetSlotSound(music_) : nullptr;
    if (!(playing && playing->GetId() == musicId)) {
        if (musicId == 0) {
            FadeOutSounds(nullptr, 0, kMusicFadeOut);
            music_ = SoundHandle{};
        } else {
            music_ = PlayMusicIfOn(musicId, kMusicFlags, kMusicLevel, kMusicFade, true);
        }
    }
    musicId_ = musicId;
}

void CLandmark::CycleCharacter(int16_t step)
{
    // Characters without a screen (no other person to show) are passed over.
    for (int n = 0; n < 3; ++n) {
        charIndex_ = static_cast<int16_t>((charIndex_ + step + 3) % 3);
        if (charScreens_[static_cast<size_t>(charIndex_)] != 0) {
            LoadScreen(charScreens_[static_cast<size_t>(charIndex_)]);
            return;
        }
    }
}

// ---- Messages ----

bool CLandmark::HandleMessage(CMessage& message, CBaseObj* sender)
{
    (void)sender;
    if (GetState() == kStateSuspended)
        return true;
    const auto p1 = static_cast<int32_t>(message.GetParam(0));
    auto p2 = static_cast<int32_t>(message.GetParam(1));
    switch (message.GetId()) {
    case kMsgOverlayByMorale:
    case kMsgOverlayKeepMusic: {
        const CParty* party = GetTravelParty();
        if (party && party->GetMorale() < 35 && p1 != 0)
            p2 = p1;
        if (message.GetId() == kMsgOverlayByMorale)
            music_ = SoundHandle{};
        ShowOverlay(p1, p2);
        return false;
    }
    case kMsgMeetPerson:
        if (CTravel* travel = GetTravelModule()) {
            const int16_t entry = travel->FindPerson(static_cast<int16_t>(p1));
            if (entry >= 0) {
                if (travel->GetPersonVisited(entry) == 0)
                    travel->SetPersonVisited(entry, 1);
                else
                    ++p2;
            }
        }
        ShowOverlay(0, p2);
        return false;
    case kMsgLoadScreen: LoadScreen(p1); return false;
    case kMsgShowList:
        music_ = SoundHandle{};
        ShowOverlay(p1, p2);
        return false;
    case kMsgTransition: RunTransition(p1, p2); return false;
    case kMsgMusic: PlayMusic(p1); return false;
    case kMsgChooseCompanions: ChooseCompanions(); return true;
    case kMsgRandomCompanions: TakeRandomCompanions(); return true;
    case kMsgNextCharacter:
    case kMsgPreviousCharacter:
        if (randomState_ != kOrdinary)
            CycleCharacter(message.GetId() == kMsgNextCharacter ? 1 : -1);
        return false;
    default: return false;
    }
}

// ---- The store ----

CMarket* CLandmark::GetMarket() const { return store_ ? store_->GetMarket() : nullptr; }
CMarket* CLandmark::GetOutfitMarket(int16_t i) const { return store_ ? store_->GetOutfitMarket(i) : nullptr; }
double CLandmark::GetOutfitValue(int16_t i) const { return store_ ? store_->GetOutfitValue(i) : 0.0; }
void CLandmark::NewCart()
{
    if (store_)
        store_->NewCart();
}
void CLandmark::SetCartCount(int16_t type, int16_t count, double priceFactor)
{
    if (store_)
        store_->SetCartCount(type, count, priceFactor);
}
int16_t CLandmark::GetCartCount(int16_t type) const { return store_ ? store_->GetCartCount(type) : 0; }
void CLandmark::Purchase(CParty& party)
{
    if (store_)
        store_->Purchase(party);
}
