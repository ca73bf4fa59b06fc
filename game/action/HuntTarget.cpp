#include "game/action/HuntTarget.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "engine/controls/anim/Sequence.h"
#include "engine/controls/input/InputFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "engine/media/SndObj.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/action/HuntField.h"

namespace {

constexpr int32_t kFieldHeight = 400;
// A charging animal's sound stops once its depth comes within this of its far line.
constexpr int32_t kSoundRange = 40;

bool IsFaller(int16_t animalId)
{
    return animalId >= CHuntTarget::kFirstFaller && animalId <= CHuntTarget::kLastFaller;
}

bool IsCharging(int16_t animation)
{
    return animation >= CHuntTarget::kAnimFirstCharge && animation <= CHuntTarget::kAnimChargeEnd;
}

int16_t Clamp16(double value)
{
    if (value <= 0)
        return 0;
    return value >= 32767 ? int16_t{32767} : static_cast<int16_t>(value);
}

} // namespace

bool HuntAnimalRecord::Read(int32_t animalId, HuntAnimalRecord& out)
{
    const std::unique_ptr<CTplRec> record = CreateTplRec(animalId, CLibMgr::kAllLibraries, false);
    if (!record)
        return false;
    int16_t values[kEntries];
    for (int32_t i = 0; i < kEntries; ++i) {
        int32_t v = 0;
        const CStr* entry = record->GetEntry(i);
        if (!entry || !entry->ToLong(&v))
            return false;
        values[i] = static_cast<int16_t>(v);
    }
    if (values[0] < 0 || values[0] >= values[1] || values[1] > kFieldHeight)
        return false;
    out.farLine = values[0];
    out.nearLine = values[1];
    out.meatMin = values[2];
    out.meatMax = values[3];
    out.hitChance[0] = values[6];
    out.hitChance[1] = values[7];
    return true;
}

CHuntTarget::CHuntTarget(int32_t objectId, int16_t animalId, const CPoint& position, CFrame* owner,
                         CImgSet* images, const HuntAnimalRecord* record, CHuntField* field)
    : CSeqWnd(objectId, position, owner, images, animalId, CLibMgr::kAllLibraries, CLibMgr::kAllLibraries,
              false),
      animalId_(animalId), record_(record), field_(field)
{
    SetTakesInput(true);
    RegisterLiveObject(this);
}

CHuntTarget::~CHuntTarget() { StopSound(); }

bool CHuntTarget::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() == -1 && message.GetParam(2) == CInputFrame::kMousePress &&
        GetAnimation() != kAnimUnclickable)
        Click();
    return true;
}

void CHuntTarget::Click()
{
    if (CFrame* parent = GetParent())
        SendMsg(*parent, kMsgShot, GetId(), 0, this);
}

void CHuntTarget::Step()
{
    CSeqWnd::Step();
    if (!holdsSound_ || !record_)
        return;
    const int32_t a = record_->farLine;
    const int32_t b = record_->nearLine;
    const int32_t z = GetZ();
    if (a < z + kSoundRange) {
        StopSound();
        return;
    }
    CSndObj* sound = field_ ? field_->GetKindSound(animalId_) : nullptr;
    if (soundOn_ && sound && sound->GetState() == CSndObj::kStatePlaying)
        sound->SetLevel((kFieldHeight - a) - (z - (kFieldHeight - b)));
}

void CHuntTarget::StopSound()
{
    if (holdsSound_ && field_)
        field_->StopKindSound(animalId_);
    holdsSound_ = false;
    soundOn_ = false;
}

void CHuntTarget::PlayFrameSound(int32_t soundId, uint32_t)
{
    if (holdsSound_ && soundId_ != soundId)
        StopSound();
    if (!holdsSound_ && IsCharging(GetAnimation()) && field_) {
        holdsSound_ = field_->StartKindSound(animalId_, soundId) != nullptr;
        soundId_ = soundId;
    }
    CSndObj* sound = holdsSound_ ? field_->GetKindSound(animalId_) : nullptr;
    if (!sound)
        return;
    soundOn_ = true;
    const int16_t animation = GetAnimation();
    sound->Play(!(animation == kAnimDown || animation == kAnimChargeEnd || IsFaller(animalId_)));
}

void CHuntTarget::MoveBy(int16_t dh, int16_t dv, int16_t dz)
{
    const int16_t before = GetV();
    CSeqWnd::MoveBy(dh, dv, dz);
    if (placing_)
        return;
    Rescale();
    if (falling_ && landingLine_ != 0 && before <= landingLine_ && GetV() > landingLine_)
        QueueAnimation(kAnimDown);
}

void CHuntTarget::Rescale()
{
    if (!record_)
        return;
    const int32_t a = record_->farLine;
    const int32_t b = record_->nearLine;
    const auto step = static_cast<int16_t>(std::abs(b - std::abs(GetZ() - kFieldHeight)));
    if (step == lastScaleStep_ || step == 1)
        return;
    lastScaleStep_ = step;
    scale_ = 1.0 - static_cast<double>(step) / (b - a);
    SetCel(GetCel());
}

void CHuntTarget::SetCel(int16_t n, int16_t, int16_t, int16_t)
{
    const std::unique_ptr<CelAnchor> anchor = GetCelTable() ? GetCelTable()->GetEntry(n) : nullptr;
    const int16_t ah = anchor ? anchor->h : 0;
    const int16_t av = anchor ? anchor->v : 0;
    CRect full;
    if (GetImages())
        GetImages()->GetImageRect(full, n);
    const int16_t width = Clamp16(full.GetWidth() * scale_);
    const int16_t height = Clamp16(full.GetHeight() * scale_);
    // The full cel's bottom lies at v - av + its height; the scaled one keeps it.
    placing_ = true;
    SetFrame(n);
    SetSize(width, height);
    CAnimatorWnd::SetCel(n, static_cast<int16_t>(ah * scale_),
                         static_cast<int16_t>(av - full.GetHeight() + height), 0);
    placing_ = false;
    SetChanged(true);
}

int16_t CHuntTarget::GetMeat() const
{
    const int16_t queued = GetQueuedAnimation();
    if ((queued != -1 && queued != kAnimDown) || !record_)
        return 0;
    return static_cast<int16_t>(CUtil::Random(record_->meatMin, record_->meatMax));
}

bool CHuntTarget::HasChargeAnimation() const
{
    return GetSequence() && GetSequence()->GetAnimation(kAnimCharge) != nullptr;
}

void CHuntTarget::StartFall(int16_t animalId)
{
    if (!IsFaller(animalId))
        return;
    falling_ = true;
    landingLine_ = static_cast<int16_t>((GetZ() / kFieldHeight) * 100 + 320);
}

int16_t CHuntTarget::GetHitChance(int32_t mode) const
{
    if (!record_ || mode < 0 || mode > 1)
        return 0;
    return record_->hitChance[mode];
}
