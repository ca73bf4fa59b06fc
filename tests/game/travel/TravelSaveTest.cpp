// The travel module in a saved game: the trip written as record 2 through the game's document
// and read back, a damaged record starting the trip over, and a load that does not depend on
// what the program ran before it.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/framework/FileSpecs.h"
#include "engine/framework/Util.h"
#include "engine/resources/Registrar.h"
#include "game/base/save/QM3Doc.h"
#include "game/base/save/SaveGameHost.h"
#include "game/shell/TemplateTypes.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "platform/MessageBox.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelRecords.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"
#include "tools/QmSave.h"

namespace traveltest {
namespace {

// The running game as the saved game sees it: one travel module.
class TravelHost : public CSaveGameHost {
public:
    explicit TravelHost(CTravel& travel) : travel_(&travel) { SetSaveGameHost(this); }
    ~TravelHost() override { SetSaveGameHost(nullptr); }
    TravelHost(const TravelHost&) = delete;
    TravelHost& operator=(const TravelHost&) = delete;

    void Use(CTravel& travel) { travel_ = &travel; }
    bool HasTravel() const override { return true; }
    // Through the module interface, as the game's host calls it.
    void SaveTravel(CQM3Doc& doc) override { static_cast<CModule*>(travel_)->Save(&doc); }
    void LoadTravel(CQM3Doc& doc) override { static_cast<CModule*>(travel_)->Load(&doc); }
    void UpdatePartyAfterLoad() override { travel_->UpdatePartyAfterLoad(); }
    void ResetTrip() override { travel_->ResetTrip(); }

private:
    CTravel* travel_;
};

std::unique_ptr<CTravel> NewTravel()
{
    auto travel = std::make_unique<CTravel>(CRect(0, 0, 480, 640));
    travel->OnAttach();
    return travel;
}

// A trip some days out on node 2 with six draught animals and food, its raft damaged.
std::unique_ptr<CTravel> TravelledTrip(uint32_t seed, int hours)
{
    CUtil::SetRandomSeed(seed);
    auto travel = NewTravel();
    travel->PlaceOnNode(2);
    CSupplyList& supplies = *travel->GetParty()->GetSupplies();
    supplies.AddItem(CParty::kDraughtAnimals, 6);
    supplies.AddItem(5, 40); // flour
    for (int i = 0; i < hours; ++i)
        travel->AdvanceDay(1);
    travel->SetRaftDamage(40);
    return travel;
}

class TravelSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenSampleData();
        // The screen's panels are built from the game's template kinds.
        registrar_ = std::make_unique<CRegistrar>();
        RegisterTemplateTypes();
        plat::GetScriptedMessageBoxes().Clear();
    }

    static std::string Path(const std::string& name) { return "D:\\" + name; }
    static std::string File(const std::string& name)
    {
        return qmtest::ReadWholeFile(qmtest::TempDir() / name);
    }

    // Saves the game through the document; answers the file's bytes.
    static std::string SaveGame(TravelHost& host, CTravel& travel, const std::string& name)
    {
        host.Use(travel);
        CQM3Doc doc("Trail");
        doc.SetName(std::make_unique<CStr>("Two days out"));
        doc.SetFileSpec(std::make_unique<CFileSpec>(Path(name).c_str()));
        EXPECT_EQ(doc.Save(0, nullptr), CDoc::kOk);
        return File(name);
    }

    static int16_t LoadGame(TravelHost& host, CTravel& travel, const std::string& name)
    {
        host.Use(travel);
        CQM3Doc doc(std::make_unique<CFileSpec>(Path(name).c_str()));
        return doc.Load();
    }

    static std::string QmSave(const std::string& name)
    {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunQmSave({(qmtest::TempDir() / name).string()}, out, err), 0) << err.str();
        return out.str();
    }

    std::unique_ptr<CRegistrar> registrar_;
};

// The header, name and disc, then the diary: an empty one is its tag and length.
constexpr size_t kTravelRecordAt = 52 + 6 + 2;

TEST_F(TravelSaveTest, ASavedGameHoldsTheTripAsRecordTwoAndLoadsItBack)
{
    auto travel = TravelledTrip(5, 30);
    TravelHost host(*travel);
    const std::string game = SaveGame(host, *travel, "trip.qm3");
    const std::string record = SaveBytes([&](CDoc& doc) { travel->CTrip::Save(doc); });
    ASSERT_EQ(game.size(), kTravelRecordAt + record.size() + 2);
    EXPECT_EQ(game.substr(kTravelRecordAt - 2, 2), std::string("\0\x02", 2));
    EXPECT_EQ(game.substr(kTravelRecordAt, record.size()), record);
    EXPECT_EQ(game.substr(game.size() - 2), std::string("\0\x03", 2));
    EXPECT_EQ(QmSave("trip.qm3"), Golden("trip-save.qmsave.txt", QmSave("trip.qm3")));

    auto loaded = NewTravel();
    EXPECT_EQ(loaded->GetRaftDamage(), -1) << "a new trip's raft";
    EXPECT_EQ(loaded->GetField130(), -1) << "off the route";
    loaded->SetRaftDamage(12);
    loaded->SetSceneFlag(CPartyTrip::kFlagNoFood, true);
    ASSERT_EQ(LoadGame(host, *loaded, "trip.qm3"), CDoc::kOk);
    EXPECT_EQ(loaded->GetRaftDamage(), -1) << "the raft's damage is not saved";
    EXPECT_EQ(loaded->GetField130(), 2);
    ASSERT_NE(loaded->GetNode812(), nullptr);
    EXPECT_EQ(loaded->GetNode812()->GetId(), 2);
    EXPECT_FALSE(loaded->GetSceneFlag(CPartyTrip::kFlagNoFood)) << "the food check ran after the load";
    EXPECT_EQ(SaveGame(host, *loaded, "again.qm3"), game);
}

TEST_F(TravelSaveTest, ADamagedTripEndsTheLoadWithErrorSixAndStartsTheTripOver)
{
    auto travel = TravelledTrip(5, 30);
    TravelHost host(*travel);
    const std::string game = SaveGame(host, *travel, "trip.qm3");
    std::string nineMembers = game;
    nineMembers[kTravelRecordAt + 60] = 9;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"nine members", nineMembers},
        {"cut in the weather", game.substr(0, game.size() - 200)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(qmtest::TempDir() / "bad.qm3", std::ios::binary) << c.bytes;
        auto loaded = TravelledTrip(8, 20);
        EXPECT_EQ(LoadGame(host, *loaded, "bad.qm3"), CDoc::kStreamFailure);
        // A new trip: off the route, its party and queue fresh, the raft undamaged.
        EXPECT_EQ(loaded->GetMode(), CTrip::kNotOnRoute);
        EXPECT_EQ(loaded->GetNodeId(), -1);
        EXPECT_EQ(loaded->GetNode812(), nullptr);
        EXPECT_EQ(loaded->GetDaysOnRoute(), 0);
        EXPECT_EQ(loaded->GetRaftDamage(), -1);
        ASSERT_NE(loaded->GetParty(), nullptr);
        EXPECT_EQ(loaded->GetParty()->GetSupplies()->GetTotal(CParty::kDraughtAnimals), 0);
        EXPECT_EQ(loaded->GetEventQueue()->GetCount(), 0);
        ASSERT_EQ(plat::GetScriptedMessageBoxes().Log().size(), 1u);
        EXPECT_EQ(plat::GetScriptedMessageBoxes().Log()[0].text, "The saved game cannot be read.");
        plat::GetScriptedMessageBoxes().Clear();
    }
}

// A load, then three more days with the same draws, then a save: the same bytes whether the
// program ran another trip before (its events queued, its marks and hourly base set) or not.
TEST_F(TravelSaveTest, ALoadAfterAnotherTripEqualsALoadInAFreshProgram)
{
    auto travel = TravelledTrip(5, 30);
    TravelHost host(*travel);
    const std::string game = SaveGame(host, *travel, "trip.qm3");
    travel.reset();

    const auto loadAndGoOn = [&](CTravel& into, const std::string& name) {
        EXPECT_EQ(LoadGame(host, into, "trip.qm3"), CDoc::kOk);
        EXPECT_EQ(SaveGame(host, into, name), game) << "a save right after the load";
        EXPECT_EQ(into.GetEventQueue()->GetCount(), 0);
        EXPECT_EQ(CHealthCond::GetMark6(), 0);
        EXPECT_EQ(CHealthCond::GetMark33(), 0);
        CUtil::SetRandomSeed(77);
        for (int i = 0; i < 30; ++i)
            into.AdvanceDay(1);
        return SaveGame(host, into, name);
    };
    auto fresh = NewTravel();
    const std::string afterFresh = loadAndGoOn(*fresh, "fresh.qm3");
    fresh.reset();

    auto ran = TravelledTrip(11, 45);
    ran->PostEvent(22, 0, 0, -1, ran->GetParty()->GetMember(0));
    ran->GetParty()->GetMember(0)->AddCondition(6, 1);
    ran->GetParty()->GetMember(0)->AddCondition(33, 1);
    for (int i = 0; i < 30; ++i)
        ran->AdvanceDay(1);
    const std::string afterRan = loadAndGoOn(*ran, "ran.qm3");
    EXPECT_NE(afterFresh, game) << "the days went on";
    EXPECT_EQ(afterRan, afterFresh);
}

} // namespace
} // namespace traveltest
