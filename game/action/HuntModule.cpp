#include "game/action/HuntModule.h"

#include <cstdio>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/ScreenTransition.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/native/ColorWnd.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Date.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/ButtonPanel.h"
#include "game/base/CtrlBarFrm.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"
#include "game/travel/EventGen.h"
#include "game/travel/EventQueue.h"
#include "game/travel/GameRecord.h"
#include "game/travel/Item.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"

namespace {

constexpr int32_t kTravelSlot = 10;
constexpr int16_t kTerrains = 18;
constexpr int16_t kSeasons = 3;
constexpr int16_t kGroupValues = 10;
constexpr int16_t kMaxChoices = 3;
constexpr int32_t kTableValues = kTerrains * kSeasons * kGroupValues;
constexpr int16_t kFaunaEntries = 50;
constexpr int16_t kHerdAnimals = 8;
constexpr int16_t kFirstAnimalId = 101;
constexpr uint32_t kFirstTickPeriod = 1;
constexpr uint32_t kTickPeriod = 6;
constexpr int16_t kFieldWidth = 640;
constexpr int16_t kFieldHeight = 400;
constexpr int16_t kTopMargin = 10;
constexpr int16_t kEdge = 280;
constexpr int16_t kCentre = 320;
// Injuries of a charge's codes, and of a shot while reloading.
constexpr int32_t kAccidentCondition = 1;
constexpr int16_t kChargeEvent = 78;
// The fade: a black box, then the closing iris.
constexpr uint32_t kFadeBorder = 240;
constexpr int32_t kFadeSpeed = 10;
// The missing-item texts of record 5620 for the guns, the two ammunitions and the shot limit.
constexpr int32_t kTextGun = 0;
constexpr int32_t kTextAmmunition = 1;
constexpr int32_t kTextSecondAmmunition = 2;
constexpr int32_t kTextShotLimit = 3;
// The result texts of record 5900.
constexpr int32_t kTextNoMeat = 4;

CSupplyList* SuppliesOf(CTravel* travel)
{
    CParty* party = travel ? travel->GetParty() : nullptr;
    return party ? party->GetSupplies() : nullptr;
}

CItem* HeldItem(CSupplyList* supplies, int16_t type)
{
    CItem* item = supplies ? supplies->FindItem(type) : nullptr;
    // A gun is not divided into units: its packages count.
    return item && (item->GetCount(false) > 0 || item->GetTotalUnits() > 0) ? item : nullptr;
}

// One package's units when the item holds a full package, else all its units.
int16_t AmountOf(const CItem* item)
{
    if (!item)
        return 0;
    return item->GetCount(true) >= 1 && item->GetUnitsPerPackage() > 0 ? item->GetUnitsPerPackage()
                                                                       : item->GetTotalUnits();
}

void Append(CStr& text, const CTplRec* record, int32_t entry)
{
    if (const CStr* part = record ? record->GetEntry(entry) : nullptr)
        text.Append(*part);
}

void AppendNumber(CStr& text, int32_t n)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%5d", static_cast<int>(n));
    text.Append(CStr(digits));
}

// The dialog's text element inside its text holder.
void SetDialogText(CImageFrame& dialog, std::unique_ptr<CStr> text)
{
    CFrame* holder = dialog.FindAs<CFrame>(CHuntModule::kTextHolder);
    auto* element = holder ? holder->FindAs<CTextFrame>(CHuntModule::kTextElement) : nullptr;
    if (element)
        element->SetText(std::move(text));
}

void RunDialog(int32_t listId, CBaseObj* owner, std::unique_ptr<CStr> text)
{
    const std::unique_ptr<CImageFrame> dialog = MakeModalList(listId, owner);
    if (!dialog)
        return;
    SetDialogText(*dialog, std::move(text));
    dialog->Run(CWind::GetTopWnd(), true);
}

void EnableMenuBar(bool enable)
{
    if (CMenuBar* bar = GetMenuBar())
        bar->Enable(enable);
}

} // namespace

CHuntModule::CHuntModule(const CRect& rect)
    : CAnimModule(rect), busy_(std::make_unique<CBusyCursor>()), panel_(std::make_unique<CButtonPanel>(this))
{
    RegisterLiveObject(this);
    SetTakesInput(true);
    SetTransparent(false);
    for (const int32_t cursor : {kCursorRight, kCursorLeft, kCursorAim, kCursorShooting})
        FindOrLoadCursor(cursor, CLibMgr::kAllLibraries);
}

CHuntModule::~CHuntModule()
{
    // The Enter key's toggle may have left the menu bar disabled.
    if (menuDisabled_)
        EnableMenuBar(true);
    StopTimer();
    panel_.reset();
    field_.reset();
}

CTravel* CHuntModule::Travel() const
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? manager->GetModuleAs<CTravel>(kTravelSlot) : nullptr;
}

int16_t CHuntModule::BarShotState() const
{
    CCtrlBarFrm* bar = GetCtrlBar();
    return bar ? bar->GetShotState() : 0;
}

void CHuntModule::Start()
{
    if (CWind* menu = GetMenuWnd())
        menu->SetCloseTarget(this);
    SetMapProc(nullptr);
    SetTakesInput(true);
    // A party without a supply list cannot hunt: the module leaves on its first tick.
    if (!SuppliesOf(Travel()) || !CheckItems())
        cannotHunt_ = true;
    busy_.reset();
    Enable(true, false, false);
    active_ = true;
    StartTimer(kFirstTickPeriod, nullptr);
}

bool CHuntModule::CheckItems()
{
    CSupplyList* supplies = SuppliesOf(Travel());
    const CItem* limit = HeldItem(supplies, kShotLimitItem);
    if (!limit) {
        ShowMissingItem(kShotLimitItem);
        return false;
    }
    shotLimit_ = AmountOf(limit);
    const bool gun = HeldItem(supplies, kGun) != nullptr;
    const bool ammunition = HeldItem(supplies, kAmmunition) != nullptr;
    const bool secondGun = HeldItem(supplies, kSecondGun) != nullptr;
    const bool secondAmmunition = HeldItem(supplies, kSecondAmmunition) != nullptr;
    if (gun && ammunition && secondGun && secondAmmunition) {
        weaponMode_ = RunModalList(kWeaponWindow, this) == kTextElement ? 0 : 1;
    } else if (secondGun && secondAmmunition) {
        weaponMode_ = 1;
    } else if (gun && ammunition) {
        weaponMode_ = 0;
    } else {
        ShowMissingItem(!gun && !secondGun ? kGun : (gun && !ammunition ? kAmmunition : kSecondAmmunition));
        return false;
    }
    const int16_t shots = AmountOf(HeldItem(supplies, weaponMode_ == 0 ? kAmmunition : kSecondAmmunition));
    shotsLeft_ = shots < shotLimit_ ? shots : shotLimit_;
    reloaded_ = shotsLeft_ != 0;
    return true;
}

void CHuntModule::ShowMissingItem(int16_t item)
{
    int32_t entry = kTextGun;
    if (item == kAmmunition)
        entry = kTextAmmunition;
    else if (item == kSecondAmmunition)
        entry = kTextSecondAmmunition;
    else if (item == kShotLimitItem)
        entry = kTextShotLimit;
    const std::unique_ptr<CTplRec> texts = CreateTplRec(kMissingItemTexts, CLibMgr::kAllLibraries, false);
    auto text = std::make_unique<CStr>();
    Append(*text, texts.get(), entry);
    RunDialog(kMissingItemWindow, this, std::move(text));
}

int32_t CHuntModule::SeasonOf(int16_t month)
{
    if (month >= 6 && month <= 8)
        return 0;
    if (month == 12 || month == 1 || month == 2)
        return 1;
    return 2;
}

bool CHuntModule::PickGround(int16_t terrain, int32_t season, int32_t ids[3])
{
    const CGameRecord table("HNT", kGroundTable);
    if (table.GetSize() < 2 * kTableValues || terrain < 0 || terrain >= kTerrains || season < 0 ||
        season >= kSeasons)
        return false;
    const int32_t group = 2 * kGroupValues * (terrain * kSeasons + season);
    const int16_t n = table.Short(group);
    if (n < 1 || n > kMaxChoices)
        return false;
    const int32_t choice = group + 2 * (1 + 3 * CUtil::Random(0, n - 1));
    for (int32_t i = 0; i < 3; ++i)
        ids[i] = table.Short(choice + 2 * i);
    return true;
}

bool CHuntModule::SetupField()
{
    field_ = std::make_unique<CHuntField>(CBaseObj::NextId(), this, this);
    CTravel* travel = Travel();
    const CRouteNode* node = travel ? travel->GetNode812() : nullptr;
    const CDate* date = travel ? travel->GetCurDate() : nullptr;
    int32_t ids[3];
    if (!PickGround(node ? node->GetTerrain() : 0, SeasonOf(date ? date->GetMonth() : 0), ids) ||
        !field_->BuildScenery(ids[0], ids[1], ids[2]))
        return false;
    TakeFauna();
    for (const int16_t kind : kinds_) {
        if (!herd_)
            field_->Spawn(kind, true, false);
        else if (kind == CHuntField::kHerdAnimal)
            for (int16_t i = 0; i < kHerdAnimals; ++i)
                field_->Spawn(kind, true, true);
    }
    PlayMusic(kMusic, 6, 126, 120, true);
    hunted_ = true;
    return true;
}

void CHuntModule::TakeFauna()
{
    CTravel* travel = Travel();
    const CEventQueue* queue = travel ? travel->GetEventQueue() : nullptr;
    herd_ = queue && queue->GetStampedeFlag() != 0;
    const CRouteNode* node = travel ? travel->GetNode812() : nullptr;
    kinds_.clear();
    if (node && !herd_) {
        for (int16_t i = 0; i < kFaunaEntries; ++i)
            if (node->GetFauna(i) >= kFirstAnimalId)
                kinds_.push_back(node->GetFauna(i));
    } else {
        kinds_.push_back(CHuntField::kHerdAnimal);
    }
}

void CHuntModule::Resume()
{
    if (GetState() != kStateSuspended)
        return;
    PlayMusic(kMusic, 6, 126, 120, true);
    CAnimModule::Resume();
    Show(true);
    Enable(true, false, false);
    busy_.reset();
    StartTimer(kTickPeriod, nullptr);
}

void CHuntModule::Suspend()
{
    CAnimModule::Suspend();
    CAnimFrame::Hide(true, false);
    Enable(false, false, false);
    StopTimer();
}

void CHuntModule::Hide()
{
    StopTimer();
    Enable(false, false, false);
    Settle();
    meat_ = 0;
}

bool CHuntModule::Stop()
{
    if (menuRestore_)
        EnableMenuBar(true);
    active_ = false;
    Enable(false, false, false);
    StopTimer();
    return menuRestore_;
}

void CHuntModule::SetOwner(CBaseObj* owner)
{
    CAnimModule::SetOwner(owner);
    if (!owner) {
        SetCursor(0);
        SetCursorId(0, CLibMgr::kAllLibraries);
    } else {
        SetCursor(kCursorAim);
    }
}

void CHuntModule::Leave()
{
    if (leaving_)
        return;
    leaving_ = true;
    QueueLeaveModule(1);
}

int32_t CHuntModule::CursorFor(int16_t h, int16_t v)
{
    if (v >= kFieldHeight)
        return kCursorAim;
    if (h - kCentre > kEdge)
        return kCursorRight;
    if (h - kCentre < -kEdge)
        return kCursorLeft;
    return kCursorAim;
}

int32_t CHuntModule::GetCursorAt(const CPoint* point)
{
    CPoint mouse;
    if (point) {
        mouse = *point;
    } else if (CWind* window = GetOwnerWnd()) {
        window->GetCursorPos(mouse, false);
    }
    return CursorFor(mouse.GetH(), mouse.GetV());
}

bool CHuntModule::OnTimer()
{
    if (leaving_)
        return true;
    if (cannotHunt_) {
        cannotHunt_ = false;
        Leave();
        return true;
    }
    if (!tickGuard_)
        return true;
    tickGuard_ = false;
    if (firstTick_) {
        firstTick_ = false;
        StopTimer();
        if (!SetupField()) {
            field_.reset();
            tickGuard_ = true;
            Leave();
            return true;
        }
        if (shotsLeft_ > 1)
            if (CCtrlBarFrm* bar = GetCtrlBar())
                bar->SetShotCount(static_cast<int16_t>(shotsLeft_ - 1));
        StartTimer(kTickPeriod, nullptr);
    }
    if (chargeDeadline_ != 0 && GetClockTime() >= chargeDeadline_) {
        chargeDeadline_ = 0;
        field_->EndCharge();
    }
    if (field_ && !leaving_) {
        field_->UpdateAnimals();
        if (!reloaded_ && shotsLeft_ > 0 && BarShotState() == 0) {
            reloaded_ = true;
            if (CCtrlBarFrm* bar = GetCtrlBar())
                bar->RemoveShot();
            --shotsLeft_;
            ++shotsFired_;
        }
        TrackMouse();
    }
    CAnimModule::OnTimer();
    if (active_ && field_ && !leaving_)
        SpawnLater();
    tickGuard_ = true;
    return true;
}

void CHuntModule::TrackMouse()
{
    CWind* window = GetOwnerWnd();
    if (!window)
        return;
    CPoint mouse;
    window->GetCursorPos(mouse, false);
    const int16_t h = mouse.GetH();
    const int16_t v = mouse.GetV();
    if (h < 0 || h > kFieldWidth || v < kTopMargin || v > kFieldHeight) {
        SetCursorId(0, CLibMgr::kAllLibraries);
        return;
    }
    if (h == kFieldWidth || v == kTopMargin || v == kFieldHeight)
        return;
    const int32_t cursor = CursorFor(h, v);
    SetCursorId(cursor, CLibMgr::kAllLibraries);
    if (cursor == kCursorAim)
        return;
    field_->Scroll(cursor == kCursorRight ? 0 : 1, kScrollStep);
    AddUpdateRect(GetDrawnRect());
}

void CHuntModule::SpawnLater()
{
    if (kinds_.empty() || liveAnimals_ >= kMaxLiveAnimals || CUtil::Random(0, spawnOdds_) != 0)
        return;
    const auto kind = static_cast<size_t>(CUtil::Random(0, static_cast<int32_t>(kinds_.size()) - 1));
    field_->Spawn(kinds_[kind], false, herd_);
    spawnOdds_ += 5;
}

bool CHuntModule::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (!field_)
        return false;
    const int32_t id = message.GetId();
    if (!active_ && GetState() != kStateSuspended) {
        if (id != kMsgLeaveNow)
            return false;
        menuRestore_ = true;
        Leave();
        return true;
    }
    switch (id) {
    case kMsgClosing: active_ = false; return true;
    case kMsgKey: {
        const MsgWord key = message.GetParam(2);
        if (key == 13) {
            menuToggle_ = !menuToggle_;
            menuDisabled_ = !menuToggle_;
            EnableMenuBar(menuToggle_);
        }
        return key == 13 || key == 32;
    }
    case kMsgMouse: return HandleMouse(message);
    case CHuntTarget::kMsgShot: Shoot(static_cast<int32_t>(message.GetParam(0))); return true;
    case kMsgEndCharge: field_->EndCharge(); return true;
    case CHuntField::kMsgCharge: chargeDeadline_ = GetClockTime() + kChargeTime; return true;
    default: return CAnimModule::HandleMessage(message, sender);
    }
}

bool CHuntModule::HandleMouse(const CMessage& message)
{
    const MsgWord kind = message.GetParam(2);
    if (kind == 0) {
        mouseHeld_ = false;
        return true;
    }
    if (kind != 1 || mouseHeld_)
        return true;
    mouseHeld_ = true;
    if (FiredWhileReloading())
        return true;
    if (shotsLeft_ <= 0) {
        PlaySoundEffect(kEmptyGunSound, 1, 255);
        return true;
    }
    SetCursorId(kCursorShooting, CLibMgr::kAllLibraries);
    field_->ShootAt(0, weaponMode_);
    SetCursorId(kCursorAim, CLibMgr::kAllLibraries);
    reloaded_ = false;
    return true;
}

bool CHuntModule::FiredWhileReloading()
{
    shotState_ = BarShotState();
    if (shotState_ != CCtrlBarFrm::kShotReloading && !accident_)
        return false;
    // The first shot into the reload is an accident that ends the hunt; later ones do nothing.
    if (!accident_) {
        accident_ = true;
        Leave();
    }
    return true;
}

void CHuntModule::Shoot(int32_t objectId)
{
    if (shotsLeft_ <= 0) {
        PlaySoundEffect(kEmptyGunSound, 1, 255);
        return;
    }
    if (FiredWhileReloading())
        return;
    SetCursorId(kCursorShooting, CLibMgr::kAllLibraries);
    if (field_->ShootAt(objectId, weaponMode_)) {
        meat_ += field_->GetMeat(objectId);
        --liveAnimals_;
    }
    reloaded_ = false;
    SetCursorId(kCursorAim, CLibMgr::kAllLibraries);
}

void CHuntModule::EndHuntByCharge(int16_t code)
{
    endedByCharge_ = true;
    CTravel* travel = Travel();
    CEventGen* events = travel ? travel->GetEventGen() : nullptr;
    CPartyMember* member = events ? events->PickRandomMember() : nullptr;
    switch (code) {
    case 10:
        if (member)
            member->AddCondition(3, 1);
        break;
    case 50:
        if (member)
            member->AddCondition(4, 1);
        break;
    case 80:
        if (member)
            member->AddCondition(35, 1);
        break;
    case kChargeEvent:
        if (travel)
            travel->PostAndRunEvent(kChargeEvent, 0, 0, -1, nullptr);
        break;
    default: break;
    }
    Fade();
    Leave();
}

void CHuntModule::Settle()
{
    // A hunt that never began (an item missing, no ground to hunt on) uses nothing.
    if (!hunted_ || endedByCharge_)
        return;
    CTravel* travel = Travel();
    CParty* party = travel ? travel->GetParty() : nullptr;
    const int32_t limit = kMeatPerTraveller * (party ? party->CountMembers(true) : 0);
    if (accident_) {
        CEventGen* events = travel->GetEventGen();
        if (CPartyMember* member = events ? events->PickRandomMember() : nullptr)
            member->AddCondition(kAccidentCondition, 1);
        Fade();
        return;
    }
    CSupplyList* supplies = SuppliesOf(travel);
    if (supplies) {
        supplies->AddMeat(meat_ < limit ? meat_ : limit);
        // The ammunition of the gun that was used.
        if (CItem* ammunition = HeldItem(supplies, weaponMode_ == 0 ? kAmmunition : kSecondAmmunition))
            ammunition->Consume(shotsFired_);
    }
    shotsLeft_ = 0;
    shotsFired_ = 0;
    ShowResult(meat_, limit);
}

void CHuntModule::ShowResult(int32_t meat, int32_t limit)
{
    const std::unique_ptr<CTplRec> texts = CreateTplRec(kResultTexts, CLibMgr::kAllLibraries, false);
    auto text = std::make_unique<CStr>();
    if (meat < 1) {
        Append(*text, texts.get(), kTextNoMeat);
    } else {
        Append(*text, texts.get(), 0);
        AppendNumber(*text, meat);
        Append(*text, texts.get(), 1);
        if (meat > limit) {
            Append(*text, texts.get(), 2);
            AppendNumber(*text, limit);
            Append(*text, texts.get(), 3);
        }
    }
    RunDialog(kResultWindow, this, std::move(text));
}

void CHuntModule::Fade()
{
    auto* box = new CColorWnd(CBaseObj::NextId(), GetDrawnRect(), 0, kFadeBorder);
    AddChild(box, true);
    DoScreenTransition(this, kTransitionIris, kClosing, kFadeSpeed);
    RemoveChild(*box);
    delete box;
}
