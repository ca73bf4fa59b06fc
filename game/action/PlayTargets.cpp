#include "game/action/PlayTargets.h"

#include <cstring>

#include "engine/controls/Frame.h"
#include "engine/framework/Str.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RecReader.h"
#include "game/base/GameImages.h"
#include "game/travel/SceneObj.h"

namespace {

// Depths of layers 0, 1 and 2.
constexpr int16_t kLayerDepth[3] = {40, 65, 90};
constexpr int16_t kLayerFloor[3] = {47, 72, 97};
constexpr int16_t kLayerCeiling[3] = {75, 100, 125};

DepthLayer Layers(int32_t lowest, int32_t highest)
{
    const int32_t layer = lowest == highest ? lowest : CUtil::Random(lowest, highest);
    return {kLayerDepth[layer], kLayerFloor[lowest], kLayerCeiling[highest]};
}

} // namespace

CPlayTargetSet::CPlayTargetSet(const CRect& bounds, CFrame* frame, int16_t maxDepth)
    : bounds_(bounds), frame_(frame), maxDepth_(maxDepth)
{
}

CPlayTargetSet::~CPlayTargetSet() { RemoveAll(); }

void CPlayTargetSet::LoadTypes(const std::vector<std::string>& names, int32_t typeListId)
{
    types_.clear();
    const CRecReader list(typeListId);
    for (const std::string& name : names) {
        if (static_cast<int32_t>(types_.size()) == kMaxTypes)
            break;
        for (int32_t j = 0; j + 2 < list.GetEntryCount(); j += 3) {
            const CStr* entry = list.GetEntry(j);
            if (!entry || name != entry->GetText())
                continue;
            auto type = std::make_unique<PlayTargetType>();
            type->id = list.GetNumber(static_cast<int16_t>(j + 1));
            type->pictureId = list.GetNumber(static_cast<int16_t>(j + 2));
            type->name = name;
            ReadType(*type);
            types_.push_back(std::move(type));
            break;
        }
    }
}

uint16_t CPlayTargetSet::BandsFrom(int32_t first, int32_t end)
{
    uint16_t bands = 0;
    for (int32_t k = first; k < end; ++k)
        bands |= k == 0 ? 1 : k == 1 ? 2 : k == 3 ? 4 : 0;
    return bands;
}

void CPlayTargetSet::ReadType(PlayTargetType& type) const
{
    CSceneRecord record(type.id);
    record.Line();
    type.maxWeight = static_cast<int16_t>(record.Number(0));
    type.turning = static_cast<int16_t>(record.Number(0));
    type.highSpeed = static_cast<int16_t>(record.Number(0));
    type.lowSpeed = static_cast<int16_t>(record.Number(0));
    const auto m = static_cast<int16_t>(record.Number(0));
    type.home =
        CRect(static_cast<int16_t>(bounds_.GetTop() - m), static_cast<int16_t>(bounds_.GetLeft() - m),
              static_cast<int16_t>(bounds_.GetBottom() + m), static_cast<int16_t>(bounds_.GetRight() + m));
    type.nearRange = static_cast<int16_t>(record.Number(0));
    type.turnPause = static_cast<int16_t>(record.Number(0));
    const int32_t first = record.Number(0);
    type.bands = BandsFrom(first, record.Number(0));
}

DepthLayer CPlayTargetSet::LayerFor(uint16_t bands)
{
    switch (bands) {
    case 2: return Layers(1, 1);
    case 3: return Layers(0, 1);
    case 4: return Layers(2, 2);
    case 6: return Layers(1, 2);
    case 7: // every band: as any layer
    case 8: return Layers(0, 2);
    default: // 1, and the bands without a layer of their own (0, 5): the top layer
        return Layers(0, 0);
    }
}

const PlayTargetType* CPlayTargetSet::GetType(int32_t index) const
{
    return index >= 0 && index < GetTypeCount() ? types_[static_cast<size_t>(index)].get() : nullptr;
}

int16_t CPlayTargetSet::GetWeightBound(int16_t index) const
{
    const PlayTargetType* type = GetType(index);
    return type ? type->maxWeight : 0;
}

CPlayAnimFrm* CPlayTargetSet::MakeSprite(PlayTargetType& type)
{
    if (!type.image)
        type.image = LoadImage("RLES", 0, type.id, false, 0);
    if (!type.image)
        return nullptr;
    return new CPlayAnimFrm(-2, CPoint(0, 0), frame_, type.image.get(), type.id, bounds_, this);
}

PlayTarget* CPlayTargetSet::AddTarget(int16_t index)
{
    if (index < 0 || index >= GetTypeCount())
        return nullptr;
    int32_t slot = 0;
    while (slot < kSlots && targets_[slot])
        ++slot;
    if (slot == kSlots)
        return nullptr;
    PlayTargetType& type = *types_[static_cast<size_t>(index)];
    auto target = std::make_unique<PlayTarget>();
    target->type = index;
    target->turning = type.turning;
    CPlayAnimFrm* creature = MakeSprite(type);
    const DepthLayer layer = LayerFor(type.bands);
    if (creature) {
        creature->SetNearRange(type.nearRange);
        creature->SetHome(type.home);
        creature->SetTurnPause(type.turnPause);
        creature->SetDepthRange(layer.floor, layer.ceiling);
    }
    target->x = static_cast<int16_t>(CUtil::Random(bounds_.GetLeft(), bounds_.GetRight()));
    target->y = static_cast<int16_t>(CUtil::Random(bounds_.GetTop(), bounds_.GetBottom()));
    target->depth = layer.depth;
    target->direction = static_cast<int16_t>(CUtil::Random(1, 8));
    target->state = PlayTarget::kRoaming;
    target->lowSpeed = type.lowSpeed;
    target->speed = type.lowSpeed;
    target->highSpeed = type.highSpeed;
    if (creature) {
        if (frame_)
            frame_->AddChild(creature, true);
        const int16_t z = maxDepth_ < target->depth ? maxDepth_ : target->depth;
        creature->SetDirection(static_cast<int16_t>(target->direction % 8));
        creature->MoveTo(target->x, target->y, z);
        creature->SetAnimation(creature->AnimationFor(creature->GetDirection()));
        creature->PickWeight(index);
    }
    target->creature = creature;
    targets_[slot] = std::move(target);
    ++count_;
    return targets_[slot].get();
}

void CPlayTargetSet::RemoveTarget(PlayTarget& target)
{
    if (!target.creature)
        return;
    target.creature->RemoveFromParent();
    delete target.creature;
    target.creature = nullptr;
}

void CPlayTargetSet::DeleteTarget(int32_t slot)
{
    if (slot < 0 || slot >= kSlots || !targets_[slot])
        return;
    RemoveTarget(*targets_[slot]);
    targets_[slot].reset();
    --count_;
}

void CPlayTargetSet::RemoveAll()
{
    for (int32_t slot = 0; slot < kSlots; ++slot)
        DeleteTarget(slot);
}

void CPlayTargetSet::MoveTarget(PlayTarget& target)
{
    if (CUtil::Random(1, target.turning != 0 ? 50 : 100) == 1) {
        ChangeCourse(target);
        target.speed = CUtil::Random(1, 5) == 1
                           ? static_cast<int16_t>(CUtil::Random(target.lowSpeed, target.highSpeed))
                           : target.highSpeed;
    }
    if (AdvanceTarget(target) && target.creature) {
        // One edge only, x before y.
        const CRect& home = target.creature->GetHome();
        if (target.x > home.GetRight())
            target.x = home.GetLeft();
        else if (target.x < home.GetLeft())
            target.x = home.GetRight();
        else if (target.y > home.GetBottom())
            target.y = home.GetTop();
        else if (target.y < home.GetTop())
            target.y = home.GetBottom();
    }
    PlaceSprite(target);
}

void CPlayTargetSet::ChangeCourse(PlayTarget& target)
{
    int16_t direction = 0;
    if (target.turning == 1) {
        do
            direction = static_cast<int16_t>(CUtil::Random(1, 8));
        while (direction == target.direction);
    } else {
        direction = static_cast<int16_t>(target.direction + 1 - 2 * CUtil::Random(0, 1));
        direction = direction == 0 ? 8 : direction == 9 ? 1 : direction;
    }
    target.direction = direction;
    target.speed = target.highSpeed;
    if (CUtil::Random(1, 3) == 1 && target.creature) {
        target.depth =
            static_cast<int16_t>(CUtil::Random(target.creature->GetZFloor(), target.creature->GetZCeiling()));
        if (target.depth > maxDepth_)
            target.depth = static_cast<int16_t>(maxDepth_ - 10);
    }
}

bool CPlayTargetSet::AdvanceTarget(PlayTarget& target)
{
    const int16_t s = target.speed;
    const auto h = static_cast<int16_t>(s >> 1);
    static constexpr int8_t kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    static constexpr int8_t kDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    if (target.direction < 1 || target.direction > 8)
        return false;
    const int32_t i = target.direction - 1;
    // Straight moves take the whole speed, diagonal ones half of it on each axis.
    const int16_t step = (i % 2 == 0) ? s : h;
    target.x = static_cast<int16_t>(target.x + kDx[i] * step);
    target.y = static_cast<int16_t>(target.y + kDy[i] * step);
    return true;
}

void CPlayTargetSet::PlaceSprite(PlayTarget& target)
{
    CPlayAnimFrm* creature = target.creature;
    if (!creature)
        return;
    if (creature->GetSpeedClass() != 0 && creature->GetZFloor() <= maxDepth_)
        creature->MoveToward(target.x, target.y, target.depth);
    else
        RemoveTarget(target);
}
