#include "game/action/HuntField.h"

#include <cmath>

#include "engine/controls/Frame.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "engine/media/SndObj.h"
#include "game/action/PanoramaStrip.h"
#include "game/base/GameImages.h"
#include "game/base/SoundSlots.h"

namespace {

constexpr int32_t kFieldHeight = 400;
constexpr int32_t kViewWidth = 640;
constexpr uint16_t kSoundFade = 180;
// 70 x 70: the path's depth grows by one for every 70 pixels squared from its centre.
constexpr int32_t kPathSpread = 70;
constexpr int64_t kPathDivisor = kPathSpread * kPathSpread;
// A later animal starts this far beside its spawn place.
constexpr int16_t kLateOffset = 15;
// Animals are removed this far above their far line.
constexpr int32_t kRemoveMargin = 40;
// Turns at the view's edges start this far from the path centre.
constexpr int32_t kTurnDistance = 300;
constexpr int32_t kSpawnMargin = 50;
// The bottoms of the strips' rectangles: far, near, extra.
constexpr int16_t kStripBottoms[3] = {360, 440, 0};

// Animations of the animals' sequences the field's rules rest on.
enum : int16_t {
    kDown = 0,
    kWalkLeft = 1,
    kWalk = 2,
    kWalkAway = 3,
    kRunLeft = 4,
    kRun = 5,
    kRunAway = 6,
    kHitLeft = 7,
    kHit = 8,
    kHitAway = 9,
    kTurnBlocked = 10,
    kTurnBlockedAway = 12,
    kTurnWalk = 13,
    kFixed = 14,
    kTurnWalkAway = 16,
    kTurnRun = 17,
    kTurnRunAway = 20,
    kChargeLeft = 21,
    kCharge = 22,
    kChargeAway = 23,
};

bool IsDown(int16_t animation)
{
    return animation == kDown || animation == kHitLeft || animation == kHit || animation == kHitAway;
}

// The animations the frightening pass leaves alone.
bool KeepsCalm(int16_t animation)
{
    switch (animation) {
    case 0:
    case 5:
    case 7:
    case 8:
    case 9:
    case 14:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24: return true;
    default: return false;
    }
}

int16_t HitAnimation(int16_t animation)
{
    switch (animation) {
    case kWalkLeft:
    case kRunLeft: return kHitLeft;
    case kWalkAway:
    case kRunAway: return kHitAway;
    default: return kHit;
    }
}

int16_t ChargeAnimation(int16_t animation)
{
    switch (animation) {
    case kWalkLeft:
    case kRunLeft:
    case kTurnBlocked: return kChargeLeft;
    case kWalkAway:
    case kRunAway:
    case kTurnBlockedAway: return kChargeAway;
    default: return kCharge;
    }
}

int32_t Wrapped(int32_t h, int32_t width)
{
    h %= width;
    return h < 0 ? h + width : h;
}

int16_t Clamp16(int64_t v) { return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v)); }

int16_t Draw(int32_t lo, int32_t hi) { return static_cast<int16_t>(CUtil::Random(lo, hi)); }

// The placement groups of the kinds.
bool IsGroundKind(int16_t id) { return id == 5601 || id == 5602 || id == 5614 || id == 5615 || id == 5616; }
bool IsHerdKind(int16_t id) { return (id >= 5605 && id <= 5609) || id == 5611; }
bool IsBirdKind(int16_t id) { return id == 5612 || id == 5613; }

} // namespace

CHuntField::CHuntField(int32_t id, CFrame* moduleFrame, CHuntFieldHost* host)
    : id_(id), frame_(moduleFrame), host_(host)
{
    FadeOutSounds(nullptr, 0, kSoundFade);
}

CHuntField::~CHuntField()
{
    for (Kind& kind : kinds_) {
        for (CHuntTarget* animal : kind.animals) {
            animal->RemoveFromParent();
            delete animal;
        }
        kind.animals.clear();
        kind.sound.reset();
    }
}

bool CHuntField::BuildScenery(int32_t farId, int32_t nearId, int32_t extraId)
{
    const int32_t ids[3] = {farId, nearId, extraId};
    for (int32_t i = 0; i < 3; ++i) {
        if (ids[i] == 0)
            continue;
        std::unique_ptr<CImgSet> images = LoadImage("RLES", 0, ids[i], false, 0);
        if (!images || images->GetCount() <= 0)
            continue;
        CRect cel;
        images->GetImageRect(cel, 0);
        const int32_t cels = images->GetCount() < 2 ? 2 : images->GetCount();
        const CRect rect(0, 0, kStripBottoms[i], Clamp16(int64_t{cel.GetWidth()} * cels));
        strips_[static_cast<size_t>(i)] = std::make_unique<CPanoramaStrip>(
            id_ + 100 * (i + 1), i == 0 ? 0 : ids[i], i == 0 ? ids[i] : 0, rect, frame_, std::move(images));
    }
    width_ = strips_[0] ? strips_[0]->GetTotalWidth() : 0;
    if (width_ > 32767)
        width_ = 0;
    return width_ > 0;
}

CHuntField::Kind* CHuntField::KindOf(int16_t animalId)
{
    const int32_t k = animalId - kFirstAnimal;
    if (k < 0 || k >= kKinds)
        return nullptr;
    Kind& kind = kinds_[static_cast<size_t>(k)];
    if (!kind.loaded) {
        kind.loaded = true;
        kind.valid = HuntAnimalRecord::Read(animalId, kind.record);
        if (kind.valid)
            kind.image = LoadImage("RLES", 0, animalId, false, 0);
    }
    return &kind;
}

const CHuntField::Kind* CHuntField::KindOf(int16_t animalId) const
{
    const int32_t k = animalId - kFirstAnimal;
    return k < 0 || k >= kKinds ? nullptr : &kinds_[static_cast<size_t>(k)];
}

bool CHuntField::IsBlocked(int32_t h, int16_t depth, int16_t& hint) const
{
    return strips_[0] && strips_[0]->IsBlocked(h, depth, hint);
}

bool CHuntField::DrawFreeSpot(int16_t& h, int16_t& y, bool drawLine, int32_t lineLo, int32_t lineHi)
{
    for (int32_t draws = 0; draws < kMaxDraws; ++draws) {
        int16_t hint = -1;
        if (!IsBlocked(h, static_cast<int16_t>(kFieldHeight - y), hint))
            return true;
        h = Draw(0, width_ - kSpawnMargin);
        if (drawLine)
            y = Draw(lineLo, lineHi);
    }
    return false;
}

bool CHuntField::Spawn(int16_t animalId, bool initial, bool herd)
{
    Kind* kind = KindOf(animalId);
    if (!kind || !kind->valid || width_ <= 0)
        return false;
    int16_t h = Draw(0, width_ - kSpawnMargin);
    int16_t y = 0;
    if (IsGroundKind(animalId)) {
        if (initial)
            y = Draw(300, 350);
        if (!DrawFreeSpot(h, y, initial, 300, 350))
            return false;
    } else if (IsHerdKind(animalId) && !herd) {
        if (initial)
            y = Draw(200, 300);
        if (!DrawFreeSpot(h, y, initial, 200, 300))
            return false;
    } else if (IsHerdKind(animalId)) {
        if (!initial)
            return false;
        if (herdPoint_.GetH() == -1 && herdPoint_.GetV() == -1) {
            h = Draw(100, 550);
            y = Draw(200, 300);
            int16_t hint = -1;
            if (IsBlocked(h, static_cast<int16_t>(kFieldHeight - y), hint)) {
                h = Draw(0, width_ - kSpawnMargin);
                y = Draw(300, 310);
                if (!DrawFreeSpot(h, y, true, 300, 310))
                    return false;
            }
            herdPoint_ = CPoint(h, y);
        } else {
            h = Draw(herdPoint_.GetH() - 50, herdPoint_.GetH() + 50);
            y = Draw(herdPoint_.GetV() - 10, herdPoint_.GetV() + 10);
        }
    } else if (IsBirdKind(animalId)) {
        y = initial ? Draw(90, 110) : 90;
    } else {
        return false;
    }
    if (host_)
        host_->ChangeLiveCount(1);
    AddAnimal(animalId, h, y, herd);
    return true;
}

int32_t CHuntField::NextAnimalId(int32_t k, Kind& kind)
{
    // Offsets 1-99 within the kind keep the kind decodable from the id; an id a live animal
    // still holds is passed over.
    for (int32_t tries = 0;; ++tries) {
        const int32_t id = id_ + kAnimalIds + kIdsPerKind * k + kind.made % (kIdsPerKind - 1) + 1;
        ++kind.made;
        if (!FindAnimal(id) || tries >= kIdsPerKind)
            return id;
    }
}

CHuntTarget* CHuntField::AddAnimal(int16_t animalId, int16_t h, int16_t y, bool herd)
{
    Kind* kind = KindOf(animalId);
    if (!kind || !kind->valid)
        return nullptr;
    const int32_t k = animalId - kFirstAnimal;
    kind->spawn = CPoint(h, y);
    const int32_t a = kind->record.farLine;
    const int32_t b = kind->record.nearLine;
    auto* animal = new CHuntTarget(NextAnimalId(k, *kind), animalId, CPoint(h, y), frame_, kind->image.get(),
                                   &kind->record, this);
    const bool flipped = !herd && CUtil::Random(0, 1) == 1;
    animal->SetFlipped(flipped);
    const int32_t side = flipped ? -1 : 1;
    if (y == 0) {
        animal->SetPathCentre(h + side * static_cast<int32_t>(kPathSpread * std::sqrt(double(b - a))));
        animal->MoveTo(static_cast<int16_t>(h + side * kLateOffset), static_cast<int16_t>(kFieldHeight - a),
                       static_cast<int16_t>(a));
    } else {
        const int32_t line = y > b ? b : y;
        animal->SetPathCentre(h - side * static_cast<int32_t>(kPathSpread * std::sqrt(double(b - line))));
        animal->MoveTo(h, static_cast<int16_t>(kFieldHeight - y), static_cast<int16_t>(kFieldHeight - y));
    }
    animal->SetAnimation(herd ? kRunAway : kWalkAway);
    animal->SetTransparent(true);
    kind->animals.push_back(animal);
    if (frame_)
        frame_->AddChild(animal, true);
    animal->SetCursor(kCursor);
    const int32_t id = animal->GetId();
    UpdateAnimals();
    // The step removes an animal placed beyond its far line at once.
    return FindAnimal(id);
}

CHuntTarget* CHuntField::FindAnimal(int32_t objectId) const
{
    const int32_t k = (objectId - id_ - kAnimalIds) / kIdsPerKind;
    if (objectId - id_ - kAnimalIds <= 0 || k >= kKinds)
        return nullptr;
    for (CHuntTarget* animal : kinds_[static_cast<size_t>(k)].animals)
        if (animal->GetId() == objectId)
            return animal;
    return nullptr;
}

const std::vector<CHuntTarget*>& CHuntField::GetAnimals(int16_t animalId) const
{
    static const std::vector<CHuntTarget*> kNone;
    const Kind* kind = KindOf(animalId);
    return kind ? kind->animals : kNone;
}

int32_t CHuntField::GetAnimalCount() const
{
    int32_t n = 0;
    for (const Kind& kind : kinds_)
        n += static_cast<int32_t>(kind.animals.size());
    return n;
}

void CHuntField::PlaceOnPath(CHuntTarget& animal)
{
    const int32_t b = animal.GetNearLine();
    const int64_t d = int64_t{animal.GetH()} + animal.GetWrapOffset() + viewOffset_ - animal.GetPathCentre();
    const int64_t z = (kFieldHeight - b) + d * d / kPathDivisor;
    animal.MoveTo(animal.GetH(), Clamp16(kFieldHeight - z), Clamp16(z));
}

void CHuntField::QueueTurn(CHuntTarget& animal, int32_t k)
{
    const int16_t animation = animal.GetAnimation();
    int32_t rel = animal.GetPathCentre() - (animal.GetH() + viewOffset_);
    if (rel < kViewWidth - width_)
        rel += width_;
    const bool flipped = animal.IsFlipped();
    const bool pastLeft = flipped ? rel > kTurnDistance : rel < -kTurnDistance;
    const bool pastRight = flipped ? rel > -kTurnDistance : rel < kTurnDistance;
    if ((animation == kWalk && pastLeft))
        animal.QueueAnimation(kTurnWalk);
    else if (animation == kWalkAway && pastRight)
        animal.QueueAnimation(kTurnWalkAway);
    else if (animation == kRun && pastLeft)
        animal.QueueAnimation(kTurnRun);
    else if (animation == kRunAway && pastRight)
        animal.QueueAnimation(kTurnRunAway);
    const int16_t animalId = static_cast<int16_t>(kFirstAnimal + k);
    if (animalId >= 5612 && animalId <= 5615)
        return;
    const bool across = animation == kWalkLeft || animation == kRunLeft;
    const bool away = animation == kWalkAway || animation == kRunAway;
    if ((across || away) && IsBlocked(animal.GetH() + viewOffset_, animal.GetZ(), animal.CelHint()))
        animal.QueueAnimation(across ? kTurnBlocked : kTurnBlockedAway);
}

void CHuntField::UpdateAnimals()
{
    for (int32_t k = 0; k < kKinds; ++k) {
        // Removal changes the list: walk a copy.
        const std::vector<CHuntTarget*> animals = kinds_[static_cast<size_t>(k)].animals;
        for (CHuntTarget* animal : animals) {
            if (animal->GetAnimation() != kFixed && !animal->IsFalling())
                PlaceOnPath(*animal);
            QueueTurn(*animal, k);
            if (animal->GetV() < animal->GetFarLine() - kRemoveMargin)
                Remove(k, animal);
        }
    }
}

void CHuntField::Remove(int32_t k, CHuntTarget* animal)
{
    std::vector<CHuntTarget*>& animals = kinds_[static_cast<size_t>(k)].animals;
    for (auto it = animals.begin(); it != animals.end(); ++it)
        if (*it == animal) {
            animals.erase(it);
            break;
        }
    if (charger_ == animal)
        charger_ = nullptr;
    animal->RemoveFromParent();
    delete animal;
    if (host_)
        host_->ChangeLiveCount(-1);
}

bool CHuntField::ShootAt(int32_t objectId, int32_t mode)
{
    CHuntTarget* animal = objectId > 0 ? FindAnimal(objectId) : nullptr;
    bool hit = false;
    if (animal) {
        const int16_t animation = animal->GetAnimation();
        if (IsDown(animation))
            return false;
        const double a = animal->GetFarLine();
        const double b = animal->GetNearLine();
        const double z = animal->GetZ();
        const int32_t r = CUtil::Random(0, 100);
        hit = r < ((kFieldHeight - z) - a) * animal->GetHitChance(mode) / (b - a);
        if (hit) {
            if (charger_ == animal)
                charger_ = nullptr;
            animal->StartFall(animal->GetAnimalId());
            if (animation != kDown)
                animal->SetAnimation(HitAnimation(animation));
        } else if (animal->HasChargeAnimation() && animation != kDown && !charger_) {
            charger_ = animal;
            if (frame_)
                SendMsg(*frame_, kMsgCharge, 0, 0, nullptr);
            if (animal->GetAnimalId() == 5615) {
                animal->SetMapProc(nullptr);
                animal->SetFalling();
                animal->MoveTo(animal->GetH(), static_cast<int16_t>(kFieldHeight), 0);
            }
            animal->SetAnimation(ChargeAnimation(animation));
        }
    }
    Frighten();
    return hit;
}

void CHuntField::Frighten()
{
    for (Kind& kind : kinds_)
        for (CHuntTarget* animal : kind.animals) {
            const int16_t animation = animal->GetAnimation();
            if (KeepsCalm(animation))
                continue;
            if (animation == 2 || animation == 15 || animation == 16)
                animal->SetAnimation(kRun);
            else if (animation == 3)
                animal->SetAnimation(kRunAway);
            else if (animation == 13)
                animal->SetAnimation(kRunLeft);
        }
}

int16_t CHuntField::GetMeat(int32_t objectId) const
{
    const CHuntTarget* animal = objectId > 0 ? FindAnimal(objectId) : nullptr;
    return animal ? animal->GetMeat() : 0;
}

int16_t CHuntField::ChargeCode(int16_t animalId)
{
    switch (animalId) {
    case 5608: return 50;
    case 5614: return 78;
    case 5615: return 80;
    default: return 10;
    }
}

void CHuntField::EndCharge()
{
    if (charger_ && host_)
        host_->EndHuntByCharge(ChargeCode(charger_->GetAnimalId()));
}

void CHuntField::Scroll(int32_t direction, int16_t step)
{
    if (width_ <= 0)
        return;
    const int32_t delta = direction == 1 ? -step : step;
    for (const std::unique_ptr<CPanoramaStrip>& strip : strips_)
        if (strip)
            strip->MoveTo(static_cast<int16_t>(strip->GetH() - delta), strip->GetV(), strip->GetZ());
    int32_t offset = viewOffset_ + delta;
    int32_t wrap = 0;
    if (offset >= width_)
        wrap = width_;
    else if (offset < 0)
        wrap = -width_;
    viewOffset_ = Wrapped(offset, width_);
    for (Kind& kind : kinds_)
        for (CHuntTarget* animal : kind.animals) {
            int32_t wrapOffset = animal->GetWrapOffset() + wrap;
            int32_t h = animal->GetH() - delta;
            if (h >= width_) {
                h -= width_;
                wrapOffset += width_;
            } else if (h < 0) {
                h += width_;
                wrapOffset -= width_;
            }
            animal->SetWrapOffset(wrapOffset);
            animal->MoveTo(static_cast<int16_t>(h), animal->GetV(), animal->GetZ());
        }
}

CSndObj* CHuntField::StartKindSound(int16_t animalId, int32_t soundId)
{
    Kind* kind = KindOf(animalId);
    if (!kind)
        return nullptr;
    if (!kind->sound || kind->soundId != soundId) {
        kind->sound.reset();
        PlaySoundEffect(soundId, kSoundStreamed | kSoundHandOver, 255, &kind->sound);
        kind->soundId = soundId;
        if (kind->sound && kind->sound->GetState() == kSoundFailed)
            kind->sound.reset();
    }
    return kind->sound.get();
}

void CHuntField::StopKindSound(int16_t animalId)
{
    if (Kind* kind = KindOf(animalId); kind && kind->sound) {
        kind->sound->Stop();
        kind->sound.reset();
    }
}

CSndObj* CHuntField::GetKindSound(int16_t animalId) const
{
    const Kind* kind = KindOf(animalId);
    return kind ? kind->sound.get() : nullptr;
}
