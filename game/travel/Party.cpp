#include "game/travel/Party.h"

#include <algorithm>
#include <vector>

#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "game/base/save/Diary.h"
#include "game/travel/PartyTrip.h"

namespace {

// Without a trip the party sees a calm day where nothing can happen.
class CNoTrip : public CPartyTrip {
public:
    int32_t GetMode() const override { return 0; }
    int32_t GetPace() const override { return 0; }
    int16_t GetHigh() const override { return 0; }
    int16_t GetLow() const override { return 0; }
    int16_t GetPrecipSum() const override { return 0; }
    bool IsEventPossible(int16_t) const override { return false; }
    void SetSceneFlag(int16_t, bool) override {}
    int16_t GetDryDays() const override { return 0; }
    CParty* GetParty() const override { return nullptr; }
    CDiary* GetDiary() const override { return nullptr; }
    void PostAndRunEvent(int16_t, MsgWord, MsgWord, int16_t, CPartyMember*) override {}
    void PostEvent(int16_t, MsgWord, MsgWord, int16_t, CPartyMember*) override {}
};

CPartyTrip& Trip()
{
    static CNoTrip none;
    CPartyTrip* trip = GetPartyTrip();
    return trip ? *trip : none;
}

int16_t Clamp16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, -32768, 32767)); }

bool IsTravelling(const CPartyMember* m) { return m && m->GetStatus() == CPartyMember::kStatusTravelling; }

// The first item of the type that holds something: an emptied item may stand before it in the
// list until the day's clean-up.
CItem* FirstHeld(const CSupplyList& supplies, int16_t type)
{
    CItem* held = nullptr;
    supplies.ForEach([&](CItem& item) {
        if (!held && item.GetType() == type && item.GetCount(false) > 0)
            held = &item;
    });
    return held;
}

} // namespace

CParty::CParty() : supplies_(std::make_unique<CSupplyList>())
{
    const auto age = static_cast<int16_t>(CUtil::Random(15, 20));
    const auto valueB = static_cast<int16_t>(CUtil::Random(1, 12));
    const auto valueC = static_cast<int16_t>(CUtil::Random(1, 28));
    const int32_t occupation = CUtil::Random(1, 26);
    members_[0] = std::make_unique<CPartyMember>(nullptr, age, valueB, valueC, occupation);
    memberCount_ = 1;
}

CParty::~CParty()
{
    supplies_->Clear();
    supplies_.reset();
    for (auto& m : members_)
        m.reset();
}

int16_t CParty::CountMembers(bool travellingOnly) const
{
    if (!travellingOnly)
        return memberCount_;
    int16_t n = 0;
    for (int16_t i = 0; i < memberCount_ && i < kMaxMembers; ++i)
        if (IsTravelling(members_[static_cast<size_t>(i)].get()))
            ++n;
    return n;
}

void CParty::SetMemberCount(int16_t n) { memberCount_ = std::clamp<int16_t>(n, 0, kMaxMembers); }

void CParty::CreateMember(int16_t slot, int16_t personId)
{
    if (slot >= 0 && slot < kMaxMembers)
        members_[static_cast<size_t>(slot)] = std::make_unique<CPartyMember>(personId);
}

void CParty::DeleteMember(int16_t slot)
{
    if (slot >= 0 && slot < kMaxMembers)
        members_[static_cast<size_t>(slot)].reset();
}

void CParty::SetMember(int16_t slot, std::unique_ptr<CPartyMember> member)
{
    if (slot >= 0 && slot < kMaxMembers)
        members_[static_cast<size_t>(slot)] = std::move(member);
}

CPartyMember* CParty::GetMember(int16_t slot) const
{
    if (slot < 0 || slot >= memberCount_ || slot >= kMaxMembers)
        return nullptr;
    return members_[static_cast<size_t>(slot)].get();
}

bool CParty::IsMember(const CPartyMember* member) const
{
    if (!member)
        return false;
    return std::any_of(members_.begin(), members_.end(), [&](const auto& m) { return m.get() == member; });
}

void CParty::AddMorale(int16_t delta)
{
    morale_ = static_cast<int16_t>(std::clamp<int32_t>(morale_ + delta, -50, 100));
}

void CParty::AddMoney(double delta)
{
    money_ += delta;
    if (money_ < 0.0)
        money_ = 0.0;
}

// Only members travelling with the party count: a dead or departed member's skills are gone.
bool CParty::AnyTravellingMember(bool (*test)(const CPartyMember&, int32_t), int32_t value) const
{
    for (int16_t i = 0; i < memberCount_ && i < kMaxMembers; ++i) {
        const CPartyMember* m = members_[static_cast<size_t>(i)].get();
        if (IsTravelling(m) && test(*m, value))
            return true;
    }
    return false;
}

bool CParty::HasOccupation(int32_t occupation) const
{
    return AnyTravellingMember([](const CPartyMember& m, int32_t v) { return m.GetOccupation() == v; },
                               occupation);
}

bool CParty::HasSkill(int32_t value) const
{
    return AnyTravellingMember([](const CPartyMember& m, int32_t v) { return m.HasSkillValue(v); }, value);
}

void CParty::TakeFirst(int16_t type, int16_t n)
{
    if (CItem* item = supplies_->FindItem(type))
        item->RemovePackages(n);
}

bool CParty::SwitchOne(int16_t from, int16_t to)
{
    CItem* item = FirstHeld(*supplies_, from);
    if (!item)
        return false;
    item->RemovePackages(1);
    supplies_->AddItem(to, 1);
    return true;
}

int16_t CParty::GetLoad() const
{
    const int32_t load = supplies_->GetTotalWeight() / 16 + 1;
    return static_cast<int16_t>(std::min<int32_t>(load, CItem::kMaxCount));
}

int16_t CParty::GetFoodWeight() const
{
    int64_t weight = 0;
    supplies_->ForEach([&](CItem& item) {
        if (item.HasTag(kTagFood))
            weight += item.GetTotalWeight();
    });
    return static_cast<int16_t>(std::min<int64_t>(weight / 16, 32000));
}

bool CParty::HasEnoughFood() const
{
    const int16_t travelling = CountMembers(true);
    return travelling == 0 || GetFoodWeight() / travelling > 20;
}

int32_t CParty::GetTravelRate()
{
    const int32_t animals = std::min(GetItem132Total(), kMaxCountedAnimals);
    if (animals <= 0) {
        loadState_ = kNoAnimals;
        return 0;
    }
    const int32_t load = GetLoad();
    const int32_t limit = kLoadPerAnimal * animals;
    if (load <= limit) {
        loadState_ = kLoadWithinLimit;
        return kFullRate;
    }
    // Overloaded: the rate falls linearly with the excess, to about half at twice the limit
    // and to nothing at three times the limit, but the animals always pull the wagon a little.
    loadState_ = kOverloaded;
    return std::max(1, kFullRate - kFullRate * (load - limit) / (2 * limit));
}

void CParty::TakeItems(CSupplyList& items)
{
    while (CList::Node* n = items.GetHeadNode()) {
        std::unique_ptr<CItem> item(static_cast<CItem*>(n->item));
        items.RemoveNode(n);
        if (item->HasTag(kTagMoney))
            AddMoney(item->GetCount(false));
        else
            supplies_->AddItem(item->GetType(), item->GetCount(false));
    }
}

void CParty::AddDayStrain(int16_t n) { dayStrain_ = Clamp16(int32_t{dayStrain_} + n); }

void CParty::DailyUpdate(int16_t hours)
{
    CPartyTrip& trip = Trip();
    int32_t strain = dayStrain_;
    if (!supplies_->HasTag(5))
        strain += 30;
    if (hungryDays_ == 0)
        strain += ration_ == 1 ? 45 : ration_ == 0 ? 60 : 0;
    else
        strain += 80;
    if (trip.GetLow() < 10)
        strain += 25;
    if (trip.GetMode() == CPartyTrip::kModeStopped) {
        strain -= 50;
        if (HasEnoughFood())
            AddMorale(2);
    } else {
        strain += trip.GetPace() == 1 ? 45 : trip.GetPace() == 2 ? 60 : 0;
        if (trip.GetPrecipSum() != 0)
            strain += 20;
        if (trip.GetHigh() > 95)
            strain += 25;
    }
    dayStrain_ = Clamp16(strain);

    // A member's day can run route events at once (a death, an onset's announcement) that
    // change the party: walk a snapshot, and skip members that left meanwhile.
    std::vector<CPartyMember*> snapshot;
    for (int16_t i = 0; i < memberCount_ && i < kMaxMembers; ++i)
        snapshot.push_back(members_[static_cast<size_t>(i)].get());
    for (CPartyMember* m : snapshot) {
        if (!IsMember(m) || !IsTravelling(m))
            continue;
        const int32_t r = CUtil::Random(dayStrain_ - 15, dayStrain_ + 15, 2);
        const int32_t extra =
            hungryDays_ == 0 ? 0 : (hungryDays_ % 10) * 10 + m->GetHealth() / 10 - dayStrain_;
        m->DailyUpdate(hours, r + extra);
    }

    SpoilFood(trip.GetHigh());
    const bool ate = EatDay();
    hungryDays_ = ate ? 0 : Clamp16(hungryDays_ + 1);
    if (trip.IsEventPossible(59))
        FeedAnimals();
    supplies_->RemoveEmpty();
    dayStrain_ = 0;
}

void CParty::SpoilFood(int16_t high)
{
    spoiledToday_ = 0;
    for (CItem* item : supplies_->CollectByTag(kTagFood)) {
        if (high > 45 && !item->AgeOneDay() && high > 80)
            item->AgeOneDay();
        if (item->IsPerishable() && item->GetShelfLife() == 0) {
            supplies_->RemoveItem(item);
            delete item;
            spoiledToday_ = 1;
        }
    }
}

void CParty::FeedAnimals()
{
    int32_t need = 2 * GetItem132Total();
    for (CItem* item : supplies_->CollectByTag(kTagFeed)) {
        if (need <= 0)
            break;
        need -= item->Consume(static_cast<int16_t>(std::min<int32_t>(need, CItem::kMaxCount)));
    }
}

bool CParty::EatGroup(int16_t tag, int32_t need, EatFlags& flags)
{
    bool existed = false;
    for (int pass = 0; pass < 2 && need > 0; ++pass) {
        // First the food that spoils soon (or never), then all of it.
        const std::vector<CItem*> items = supplies_->CollectByTag(tag, pass == 0 ? 15 : 0);
        existed = existed || !items.empty();
        std::vector<bool> visited(items.size(), false);
        size_t left = items.size();
        while (left > 0 && need > 0) {
            size_t i;
            do
                i = static_cast<size_t>(CUtil::Random(0, static_cast<int32_t>(items.size()) - 1));
            while (visited[i]);
            visited[i] = true;
            --left;
            CItem* item = items[i];
            flags.tag27 = flags.tag27 || item->HasTag(27);
            flags.tag28 = flags.tag28 || item->HasTag(28);
            need -= item->Consume(static_cast<int16_t>(std::min<int32_t>(need, CItem::kMaxCount)));
        }
    }
    return existed;
}

bool CParty::EatDay()
{
    const int32_t portion = ration_ == 0 ? 1 : ration_ == 1 ? 2 : 3;
    int32_t need = CountMembers(true) * portion;
    if (!supplies_->HasTag(34))
        need = std::max(1, need * 7 / 6);
    if (HasSkill(9))
        need = std::max(1, need * 5 / 6);
    // Each group is asked for the same need; a missing group makes the next ones needed more.
    EatFlags flags;
    if (!EatGroup(3, need, flags))
        need += (need + 3) / 4;
    if (!EatGroup(16, need, flags))
        need += (need + 2) / 3;
    const bool had15 = EatGroup(15, need, flags);
    if (!had15)
        need += (need + 1) / 2;
    const bool had14 = EatGroup(14, need, flags);
    if (!had14)
        need *= 2;
    const bool had13 = EatGroup(13, need, flags);
    auto step = [](int16_t& counter, bool eaten) {
        counter = Clamp16(!eaten || counter == 0 ? counter + 1 : counter - 1);
    };
    step(dietA_, flags.tag27);
    step(dietB_, flags.tag28);
    return had13 || had14 || had15;
}

bool CParty::Butcher()
{
    CItem* animal = FirstHeld(*supplies_, kButcherable);
    if (!animal)
        return false;
    animal->RemovePackages(1);
    supplies_->AddMeat(CUtil::Random(20, 40, 2));
    const char* text = kButcherTexts[CUtil::Random(0, 1) == 0 ? 0 : 1];
    if (CDiary* diary = Trip().GetDiary())
        diary->PostDiary(std::make_unique<CStr>(text));
    return true;
}

void CParty::CheckFood()
{
    CPartyTrip& trip = Trip();
    const bool food = supplies_->HasTag(kTagFood);
    int32_t travelling = 0;
    int32_t healthSum = 0;
    bool someonePoor = false;
    for (int16_t i = 0; i < memberCount_ && i < kMaxMembers; ++i) {
        const CPartyMember* m = members_[static_cast<size_t>(i)].get();
        if (!IsTravelling(m))
            continue;
        ++travelling;
        healthSum += m->GetHealth();
        someonePoor = someonePoor || m->GetHealth() < 100;
    }
    const int32_t averageHealth = travelling == 0 ? 0 : healthSum / travelling;
    trip.SetSceneFlag(CPartyTrip::kFlagNoFood, !food);
    trip.SetSceneFlag(CPartyTrip::kFlagNoDraughtAnimals, GetItem132Total() == 0);
    trip.SetSceneFlag(CPartyTrip::kFlagSomeonePoor, someonePoor);
    trip.SetSceneFlag(CPartyTrip::kFlagLowFood, food && !HasEnoughFood());
    bool noMeat = false;
    if (food && !supplies_->HasTag(14))
        noMeat = !Butcher();
    trip.SetSceneFlag(CPartyTrip::kFlagNoMeat, noMeat);
    const bool noTag15 = food && !supplies_->HasTag(15);
    trip.SetSceneFlag(CPartyTrip::kFlagNoTag15First, noTag15);
    trip.SetSceneFlag(CPartyTrip::kFlagNoTag15Second, noTag15);
    trip.SetSceneFlag(CPartyTrip::kFlagPoorHealth, averageHealth < 400);
    for (int16_t flag : {CPartyTrip::kFlagMoraleBelow26, CPartyTrip::kFlagMorale26To40,
                         CPartyTrip::kFlagMorale41To50, CPartyTrip::kFlagMoraleAbove80})
        trip.SetSceneFlag(flag, false);
    if (morale_ < 26)
        trip.SetSceneFlag(CPartyTrip::kFlagMoraleBelow26, true);
    else if (morale_ <= 40)
        trip.SetSceneFlag(CPartyTrip::kFlagMorale26To40, true);
    else if (morale_ <= 50)
        trip.SetSceneFlag(CPartyTrip::kFlagMorale41To50, true);
    else if (morale_ > 80)
        trip.SetSceneFlag(CPartyTrip::kFlagMoraleAbove80, true);
}

void CParty::Save(CDoc& doc) const
{
    doc.WriteShort(memberCount_).WriteDouble(money_).WriteFloat(spareValue_).WriteShort(spareWord_);
    doc.WriteShort(morale_).WriteShort(hungryDays_).WriteShort(dietA_).WriteShort(dietB_);
    doc.WriteByte(spoiledToday_).WriteShort(dayStrain_);
    doc.WriteShort(static_cast<int16_t>(ration_)).WriteShort(static_cast<int16_t>(loadState_));
    doc.Write(flagBytes_.data(), kFlagByteCount);
    for (int16_t i = 0; i < memberCount_ && i < kMaxMembers; ++i) {
        if (const CPartyMember* m = members_[static_cast<size_t>(i)].get())
            m->Save(doc);
        else
            CPartyMember().Save(doc); // an empty slot keeps the record's layout
    }
    supplies_->Save(doc);
}

void CParty::Load(CDoc& doc)
{
    for (int16_t i = 0; i < memberCount_ && i < kMaxMembers; ++i)
        members_[static_cast<size_t>(i)].reset();
    int16_t count = 0;
    int16_t ration = 0;
    int16_t loadState = 0;
    doc.ReadShort(count).ReadDouble(money_).ReadFloat(spareValue_).ReadShort(spareWord_);
    doc.ReadShort(morale_).ReadShort(hungryDays_).ReadShort(dietA_).ReadShort(dietB_);
    doc.ReadByte(spoiledToday_).ReadShort(dayStrain_).ReadShort(ration).ReadShort(loadState);
    doc.Read(flagBytes_.data(), kFlagByteCount);
    ration_ = ration;
    loadState_ = loadState;
    if (doc.GetError() != CDoc::kOk)
        return;
    if (count < 0 || count > kMaxMembers) {
        memberCount_ = 0;
        doc.SetError(CDoc::kStreamFailure);
        return;
    }
    memberCount_ = count;
    for (int16_t i = 0; i < count && doc.GetError() == CDoc::kOk; ++i) {
        auto member = std::make_unique<CPartyMember>();
        member->Load(doc);
        members_[static_cast<size_t>(i)] = std::move(member);
    }
    supplies_->Load(doc);
}
