#include "game/action/PlayField.h"

#include <cstdio>

#include "engine/controls/AnimFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/Str.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RecReader.h"
#include "engine/resources/TplRecLoader.h"
#include "game/action/3DView.h"
#include "game/action/PlayImage.h"
#include "game/action/PlayItem.h"
#include "game/action/PlaySceneObj.h"
#include "game/action/PlaySettings.h"
#include "game/action/PlaySprites.h"
#include "game/action/PlayTargets.h"
#include "game/base/GameImages.h"
#include "game/base/SoundSlots.h"
#include "game/travel/AnimFigure.h"

namespace {

constexpr int16_t kCastDepth = 5;
constexpr int16_t kLandingDepth = 25;
constexpr int16_t kStripDepth = 25;
constexpr int16_t kHolderH = 320;
constexpr int16_t kHolderV = 380;
constexpr int16_t kHolderZ = 15;
constexpr int16_t kBiteDepth = 10;
constexpr int32_t kMaxWhole = 200;
constexpr int32_t kMaxTenths = 10;
constexpr uint32_t kCatchSoundFlags = 1;
constexpr uint8_t kCatchSoundLevel = 255;

std::string EntryText(const CTplRec& record, int32_t i)
{
    const CStr* entry = record.GetEntry(i);
    return entry ? entry->GetText() : "";
}

std::unique_ptr<CImgSet> Sprite(CatchSetting entry)
{
    return LoadImage("RLES", 0, GetCatchSetting(entry), false, 0);
}

} // namespace

CPlayField::CPlayField(CAnimFrame* frame, const CRect& area, uint16_t waterKind)
    : area_(area), waterKind_(waterKind), clock_(std::make_unique<CStopwatch>()), frame_(frame)
{
}

CPlayField::~CPlayField()
{
    frame_->SetUpdating(false);
    scene_.reset();
    if (targets_)
        targets_->RemoveAll();
    hooked_ = nullptr;
    FreeSprites();
    targets_.reset();
    frame_->AddUpdateRect(area_);
}

std::vector<std::string> CPlayField::TypeNames(uint16_t catchStock, int32_t typeListId)
{
    std::vector<std::string> names;
    const CRecReader list(typeListId);
    for (int32_t i = 0; i < list.GetEntryCount() / 3 && i < 16; ++i)
        if (catchStock & (1u << i))
            names.push_back(EntryText(list, 3 * i));
    return names;
}

std::string CPlayField::CatchText(const std::string& before, const std::string& name,
                                  const std::string& middle, int32_t whole, int32_t tenths,
                                  const std::string& after)
{
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    char weight[32];
    std::snprintf(weight, sizeof weight, "%d.%d", static_cast<int>(whole), static_cast<int>(tenths));
    return before + lower + middle + weight + after;
}

void CPlayField::Start(bool suspended)
{
    if (suspended)
        suspended_ = true;
    Setup();
}

void CPlayField::Setup()
{
    if (!suspended_) {
        const CRecReader sceneList(GetCatchSetting(kSettingSceneList));
        catchWhole_ = 0;
        catchTenths_ = 0;
        scene_ = std::make_unique<CPlaySceneObj>(sceneList.GetNumber(static_cast<int16_t>(waterKind_)));
        scene_->SetCatchStock(catchStock_);
        scene_->Load();
        scene_->SetTypeNames(TypeNames(catchStock_, GetCatchSetting(kSettingTypeList)));
        targets_ = std::make_unique<CPlayTargetSet>(fieldRect_, frame_, scene_->GetMaxDepth());
        LoadSprites();
        call_ = false;
        scatter_ = true;
        hooked_ = nullptr;
        ShowLure(true);
        reelIn_ = false;
        targets_->LoadTypes(scene_->GetTypeNames(), GetCatchSetting(kSettingTypeList));
        SpawnTargets();
        if (strip_)
            strip_->SetZ(kStripDepth);
    }
    frame_->AddUpdateRect(area_);
    frame_->SetUpdating(true);
}

void CPlayField::LoadSprites()
{
    std::unique_ptr<CImgSet> background =
        LoadImage("CBMP", 0, scene_ ? scene_->GetBackgroundId() : -1, false, 0);
    if (!background) {
        loadFailed_ = -1;
        return;
    }
    frame_->SetImage(background.release(), 0);
    if (std::unique_ptr<CImgSet> image = Sprite(kSettingLure)) {
        lure_ = new CSpriteFrm(-2, CPoint(0, 0), frame_, image.release(), GetCatchSetting(kSettingLure));
        frame_->AddChild(lure_, true);
        lure_->MakeMarker();
        CastLure();
        lure_->SetLandingDepth(kLandingDepth);
    } else {
        loadFailed_ = -1;
    }
    if (std::unique_ptr<CImgSet> image = Sprite(kSettingHolder)) {
        holder_ = new CSpriteFrm3(-2, CPoint(0, 0), frame_, image.release(), GetCatchSetting(kSettingHolder));
        frame_->AddChild(holder_, true);
        holder_->MoveTo(kHolderH, kHolderV, kHolderZ);
    } else {
        loadFailed_ = -1;
    }
    if (std::unique_ptr<CImgSet> image = Sprite(kSettingHolder)) {
        line_ = new CAnimFigure(-2, CPoint(0, 0), frame_, image.release(), view_, holder_, lure_);
        frame_->AddChild(line_, true);
    }
    strip_ = std::make_unique<CPlayItem>(frame_, GetCatchSetting(kSettingStrip));
    strip_->SetZ(0);
    strip_->Build();
}

void CPlayField::FreeSprites()
{
    strip_.reset();
    // The line draws between the other two: it goes first.
    for (CFrame* sprite :
         {static_cast<CFrame*>(line_), static_cast<CFrame*>(lure_), static_cast<CFrame*>(holder_)}) {
        if (!sprite)
            continue;
        sprite->RemoveFromParent();
        delete sprite;
    }
    line_ = nullptr;
    lure_ = nullptr;
    holder_ = nullptr;
    frame_->SetImage(nullptr, 0);
}

void CPlayField::ShowLure(bool shown)
{
    if (!lure_)
        return;
    if (shown)
        lure_->Show(false);
    else
        lure_->Hide(false, true);
}

void CPlayField::CastLure()
{
    if (!lure_)
        return;
    const auto x = static_cast<int16_t>(area_.GetLeft() + area_.GetWidth() / 2 - 20 + CUtil::Random(1, 40));
    const auto y = static_cast<int16_t>(area_.GetTop() + area_.GetHeight() / 3 + CUtil::Random(0, 40));
    lure_->PlaceCentre(x, y, kCastDepth);
    lure_->SetLanded(false);
    lure_->SetState(CSpriteFrm::kSinking);
    if (scene_)
        lure_->SetBottomDepth(static_cast<int16_t>(scene_->GetMaxDepth() - 20));
}

void CPlayField::SpawnTargets()
{
    // Without types nothing can swim.
    if (catchStock_ == 0 || suspended_ || !targets_ || targets_->GetTypeCount() == 0)
        return;
    const int32_t n = CUtil::Random(0, 4, 3);
    for (int32_t i = 0; i < n; ++i)
        targets_->AddTarget(static_cast<int16_t>(CUtil::Random(0, targets_->GetTypeCount() - 1)));
}

void CPlayField::BeginTurn(int16_t catches)
{
    frame_->SetUpdating(false);
    turnCatches_ = catches;
    // The targets go: none of them can stay on the lure.
    ReleaseHook();
    reelIn_ = false;
    if (targets_)
        targets_->RemoveAll();
    SpawnTargets();
    CastLure();
    result_ = kRunning;
    frame_->AddUpdateRect(area_);
    frame_->SetUpdating(true);
    if (holder_)
        holder_->SetAnimation(1);
}

void CPlayField::Step()
{
    if (window_ || !scene_)
        return;
    UpdateTargets();
    if (lure_)
        lure_->StepLure();
    if (reelIn_)
        ShowCatch();
    if (strip_)
        strip_->Step();
}

void CPlayField::UpdateTargets()
{
    const uint32_t now = clock_->Elapsed();
    if (lure_ && lure_->HasLanded()) {
        if (holder_)
            holder_->SetAnimation(0);
        lure_->SetLanded(false);
        call_ = true;
        scatter_ = false;
    }
    if (targets_ && targets_->GetCount() > 0) {
        for (int32_t slot = 0; slot < CPlayTargetSet::kSlots; ++slot) {
            PlayTarget* target = targets_->GetTarget(slot);
            if (!target)
                continue;
            if (!target->creature) {
                if (target == hooked_)
                    ReleaseHook();
                targets_->DeleteTarget(slot);
                continue;
            }
            if (call_) {
                target->state = PlayTarget::kCalled;
            } else if (scatter_) {
                target->state = PlayTarget::kRoaming;
                target->speed = target->lowSpeed;
            }
            StepTarget(*target, now);
        }
    }
    call_ = false;
    if (scatter_) {
        CastLure();
        scatter_ = false;
    }
    frame_->AddUpdateRect(area_);
}

void CPlayField::StepTarget(PlayTarget& target, uint32_t now)
{
    switch (target.state) {
    case PlayTarget::kCalled:
        if (hooked_ || !lure_) {
            targets_->MoveTarget(target);
            break;
        }
        target.x = static_cast<int16_t>(lure_->GetH() + lure_->GetCentreOffset().GetH());
        target.y = static_cast<int16_t>(lure_->GetV() + lure_->GetCentreOffset().GetV());
        target.depth = lure_->GetZ();
        targets_->PlaceSprite(target);
        if (target.creature && target.creature->HasArrived())
            Bite(target, now);
        break;
    case PlayTarget::kHooked:
        targets_->MoveTarget(target);
        if (lure_ && target.creature)
            lure_->MoveTo(target.creature->GetH(), target.creature->GetV(), target.creature->GetZ());
        if (now > target.releaseTick && !reelIn_)
            GetAway(target);
        targets_->PlaceSprite(target);
        break;
    default: targets_->MoveTarget(target); break;
    }
}

void CPlayField::Bite(PlayTarget& target, uint32_t now)
{
    if (holder_) {
        holder_->MoveBy(0, 0, kBiteDepth);
        holder_->SetAnimation(2);
    }
    target.state = PlayTarget::kHooked;
    target.releaseTick = now + 10 + static_cast<uint32_t>(CUtil::Random(10, 40));
    CPlayAnimFrm* creature = target.creature;
    const auto h = static_cast<int16_t>(creature->GetH() + (lure_->GetH() - creature->GetH()) / 2);
    const auto v = static_cast<int16_t>(creature->GetV() + (lure_->GetV() - creature->GetV()) / 2);
    creature->MoveTo(h, v, creature->GetZ());
    lure_->MoveTo(h, v, lure_->GetZ());
    hooked_ = &target;
    ShowLure(false);
}

void CPlayField::GetAway(PlayTarget& target)
{
    if (holder_) {
        holder_->MoveBy(0, 0, -kBiteDepth);
        holder_->SetAnimation(0);
    }
    target.state = PlayTarget::kRoaming;
    ReleaseHook();
}

void CPlayField::ReleaseHook()
{
    if (!hooked_)
        return;
    hooked_ = nullptr;
    ShowLure(true);
}

void CPlayField::ShowCatch()
{
    if (!hooked_)
        return;
    CTplRec texts;
    LoadTplRec(texts, GetCatchSetting(kSettingCatchText), CLibMgr::kAllLibraries, false);
    CPlayAnimFrm* creature = hooked_->creature;
    const PlayTargetType* type = targets_ ? targets_->GetType(hooked_->type) : nullptr;
    const int16_t index = creature ? creature->GetWeightIndex() : -1;
    landedWhole_ = creature ? creature->GetWeightWhole() : 0;
    landedTenths_ = creature ? creature->GetWeightTenths() : 0;
    if (creature)
        creature->SetSpeedClass(0); // its target's next move takes it off the field
    if (!type || index < 0 || index >= targets_->GetTypeCount() || landedWhole_ > kMaxWhole ||
        landedTenths_ > kMaxTenths) {
        // Nothing to show: the hook lets go and the turn ends without a catch.
        ReleaseHook();
        reelIn_ = false;
        result_ = kNoCatch;
        return;
    }
    PlaySoundEffect(GetCatchSetting(kSettingCatchSound), kCatchSoundFlags, kCatchSoundLevel);
    clock_->Pause();
    frame_->SetUpdating(false);
    window_ = new CPlayImage(CPlayImage::kId, CPoint(1, 1));
    frame_->AddChild(window_, false);
    const CStr text(CatchText(EntryText(texts, 11), type->name, EntryText(texts, 12), landedWhole_,
                              landedTenths_, EntryText(texts, 13))
                        .c_str());
    window_->Setup(frame_, type->pictureId, &text);
    window_->AddButtons();
    const CRect& frameRect = frame_->GetDrawnRect();
    const CRect& windowRect = window_->GetDrawnRect();
    window_->MoveTo(static_cast<int16_t>((frameRect.GetWidth() - windowRect.GetWidth()) / 2),
                    static_cast<int16_t>((frameRect.GetHeight() - windowRect.GetHeight()) / 2), -10);
    frame_->AddUpdateRect(area_);
    frame_->Draw(true);
    frame_->UpdateWindow();
    ReleaseHook();
    ShowLure(true);
    reelIn_ = false;
}

void CPlayField::CloseWindow()
{
    frame_->SetUpdating(true);
    // The window may be the sender of the message being handled: it is deleted when safe.
    window_->Destroy();
    window_ = nullptr;
}

void CPlayField::RedrawArea()
{
    if (view_)
        view_->FillRows(0, area_);
    frame_->AddUpdateRect(area_);
    frame_->Draw(true);
}

bool CPlayField::HandleWindowMessage(int32_t id)
{
    switch (id) {
    case CPlayImage::kMsgKeep:
        catchWhole_ += landedWhole_;
        catchTenths_ += landedTenths_;
        CloseWindow();
        RedrawArea();
        clock_->Resume();
        ReleaseHook();
        ShowLure(true);
        reelIn_ = false;
        result_ = kCatchKept;
        return true;
    case CPlayImage::kMsgLetGo:
        CloseWindow();
        clock_->Resume();
        result_ = kNoCatch;
        RedrawArea();
        return true;
    case CPlayImage::kMsgAsk:
        if (CFrame* parent = frame_->GetParent()) {
            CMessage message(kMsgAskParent, 4, 1, -1);
            DeliverMessage(*parent, message, nullptr, false);
        }
        return true;
    default: return false;
    }
}

bool CPlayField::HandlePress(const CMessage& message)
{
    const MsgWord kind = message.GetParam(2);
    if (kind == 0)
        return true;
    if (kind != 1 || !lure_)
        return false;
    const int16_t state = lure_->GetState();
    if (state == CSpriteFrm::kGoingDown || state == CSpriteFrm::kAtBottom) {
        if (hooked_)
            reelIn_ = true;
        else
            result_ = kNoCatch;
        lure_->SetState(CSpriteFrm::kPulled);
    } else if (state == CSpriteFrm::kPulled) {
        result_ = kNoCatch;
    }
    return false;
}

bool CPlayField::HandleMessage(CMessage& message)
{
    if (window_ && !suspended_)
        return HandleWindowMessage(message.GetId());
    switch (message.GetId()) {
    case kMsgMouse: return !suspended_ && HandlePress(message);
    case kMsgStopUpdating: frame_->SetUpdating(false); return false;
    default: return false;
    }
}

void CPlayField::Suspend()
{
    clock_->Pause();
    suspended_ = true;
    FreeSprites();
}

void CPlayField::Resume()
{
    if (!suspended_)
        return;
    if (!scene_) {
        // Started suspended: the set-up happens now.
        suspended_ = false;
        Setup();
    } else {
        LoadSprites();
    }
    frame_->SetUpdating(true);
    frame_->Draw(true);
    if (window_)
        frame_->SetUpdating(false);
    else
        clock_->Resume();
    suspended_ = false;
}
