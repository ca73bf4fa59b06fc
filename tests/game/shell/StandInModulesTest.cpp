// The stand-ins of the modules not built yet: the outfitting store's companion choice and
// starter kit, the landmark module showing its screen and leaving, and the hunting, rafting
// and river catch modules leaving as soon as they start.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "engine/framework/Appl.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/QM3Appl.h"
#include "game/shell/StandInModules.h"
#include "game/travel/EventResolve.h"
#include "game/travel/Item.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "game/travel/Trip.h"
#include "platform/Files.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/game/travel/EventRecords.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace {

// A trip over the sample data whose person table a test sets.
class TableTrip : public CTrip {
public:
    void SetTable(const std::array<int16_t, kPersonCount>& ids)
    {
        for (size_t i = 0; i < ids.size(); ++i)
            persons_[i] = Person{ids[i], 0, 0};
        DeleteMarkets();
        for (int16_t id : ids)
            if (id > 0)
                markets_[static_cast<size_t>(id - 1)] = MakePersonMarket(id);
    }
};

class StoreCompanions : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetDrives({{'C', qmtest::SourceDir() / "data" / "game", plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Data"));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Lang"));
        CUtil::SetRandomSeed(3);
        trip.SetUpTrip();
    }
    std::vector<int16_t> Members() const
    {
        std::vector<int16_t> ids;
        for (int16_t slot = 1; slot < trip.GetParty()->CountMembers(false); ++slot)
            ids.push_back(trip.GetParty()->GetMember(slot)->GetId());
        return ids;
    }
    TableTrip trip;
};

TEST_F(StoreCompanions, FourJoinInTableOrderWithPairsWhileTwoAtMostAreChosen)
{
    struct Case {
        const char* what;
        std::array<int16_t, 8> table;
        std::vector<int16_t> members;
    } cases[] = {
        {"the first four", {2, 3, 4, 6, 7, 9, 10, 13}, {2, 3, 4, 6}},
        {"a pair first, its partner along", {1, 2, 3, 4, 6, 7, 9, 16}, {1, 2, 3, 16}},
        {"a pair after three chosen is passed over", {2, 3, 4, 11, 13, 14, 17, 18}, {2, 3, 4, 13}},
        {"a pair after two chosen comes", {2, 3, 11, 13, 14, 17, 18, 19}, {2, 3, 11, 18}},
        {"two pairs", {1, 11, 16, 18, 19, 20, 2, 3}, {1, 11, 16, 18}},
        {"a pair, one more, then a pair passed over", {1, 2, 11, 16, 17, 18, 19, 20}, {1, 2, 16, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        trip.SetTable(c.table);
        TakeStoreCompanions(trip);
        EXPECT_EQ(trip.GetParty()->CountMembers(false), 5);
        EXPECT_EQ(Members(), c.members);
    }
}

TEST_F(StoreCompanions, TheirGoodsGoToThePartyAndTheMarketsAreDeleted)
{
    trip.SetTable({2, 3, 4, 6, 7, 9, 10, 13});
    double money = 0.0;
    std::vector<std::pair<int16_t, int16_t>> goods;
    for (int16_t id : {2, 3, 4, 6}) {
        const CMarket& market = *trip.GetMarket(static_cast<int16_t>(id - 1));
        for (int16_t line = 0; line < market.GetItemCount(); ++line) {
            if (market.GetItemId(line) == 35)
                money += market.GetQuantity(line);
            else
                goods.emplace_back(market.GetItemId(line), market.GetQuantity(line));
        }
    }
    ASSERT_GT(money, 0.0);
    ASSERT_FALSE(goods.empty());
    const double before = trip.GetParty()->GetMoney();
    TakeStoreCompanions(trip);
    EXPECT_DOUBLE_EQ(trip.GetParty()->GetMoney(), before + money);
    for (const auto& [type, count] : goods)
        EXPECT_GE(trip.GetParty()->GetSupplies()->GetTotal(type), count) << "item type " << type;
    for (int16_t slot = 0; slot < CTrip::kMarketCount; ++slot)
        EXPECT_EQ(trip.GetMarket(slot), nullptr) << slot;
}

TEST_F(StoreCompanions, TheStarterKitFeedsAndMendsThePartyWithinItsLoad)
{
    TakeStoreCompanions(trip);
    AddStarterKit(*trip.GetParty());
    CParty& party = *trip.GetParty();
    EXPECT_EQ(party.GetItem132Total(), 6);
    EXPECT_EQ(party.GetTravelRate(), CParty::kFullRate);
    EXPECT_EQ(party.GetLoadState(), CParty::kLoadWithinLimit);
    for (int16_t tag : {2, 3, 13, 14, 15, 16, 34, 40})
        EXPECT_FALSE(party.GetSupplies()->CollectByTag(tag).empty()) << "tag " << tag;
    for (int16_t type : {164, 91})
        EXPECT_GT(party.GetSupplies()->GetTotal(type), 0) << "item type " << type;
    for (int16_t part = 189; part <= 192; ++part)
        EXPECT_EQ(party.GetSupplies()->GetTotal(part), 2) << "item type " << part;
}

// ---- The modules in the game ----

// The game on the sample data, the trip on a segment of the route (node 2), so that the travel
// screen taken back goes on travelling.
class StandInModules : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        CUtil::SetRandomSeed(1);
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        Travel()->PlaceOnNode(2);
    }
    static CTravel* Travel()
    {
        return dynamic_cast<CTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
    // Asks for the module over the travel screen, as the screen's buttons do.
    static void Enter(int32_t type)
    {
        GetModuleMgr()->SetCurModule(CModuleMgr::kTravel);
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, type, 1, nullptr);
    }
    void Tick()
    {
        qmtest::Clock().Advance(17);
        appl->PumpMessage(true);
    }
};

TEST_F(StandInModules, RaftingAndTheRiverCatchLeaveAtOnce)
{
    for (int32_t type : {6, 8}) {
        SCOPED_TRACE(type);
        Enter(type);
        ASSERT_NE(GetModuleMgr()->GetModule(type), nullptr);
        EXPECT_EQ(GetModuleMgr()->GetCurModule(), type);
        Tick();
        Tick();
        EXPECT_EQ(GetModuleMgr()->GetModule(type), nullptr);
        EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kTravel);
    }
}

TEST_F(StandInModules, TheLandmarkShowsItsScreenAndLeavesTheStoreWithAFullParty)
{
    Travel()->SetLandmarkId(CStandInLandmark::kOutfittingStore);
    Enter(CModuleMgr::kLandmark);
    auto* landmark = dynamic_cast<CStandInLandmark*>(GetModuleMgr()->GetModule(CModuleMgr::kLandmark));
    ASSERT_NE(landmark, nullptr);
    EXPECT_NE(landmark->FindObject(CBaseObj::kAnyKind, CStandInLandmark::kOutfittingStore), nullptr)
        << "the store's screen";
    EXPECT_EQ(Travel()->GetParty()->CountMembers(false), 5);
    EXPECT_EQ(Travel()->GetParty()->GetItem132Total(), 6);
    EXPECT_EQ(Travel()->GetMarket(Travel()->GetPersons()[0].id - 1), nullptr);
    Tick();
    Tick();
    EXPECT_EQ(GetModuleMgr()->GetModule(CModuleMgr::kLandmark), nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kTravel);

    // Any other landmark only leaves; one without a screen too.
    for (int32_t id : {10300, -52}) {
        Travel()->SetLandmarkId(id);
        Enter(CModuleMgr::kLandmark);
        EXPECT_EQ(Travel()->GetParty()->CountMembers(false), 5);
        Tick();
        Tick();
        EXPECT_EQ(GetModuleMgr()->GetModule(CModuleMgr::kLandmark), nullptr) << id;
    }
}

// The game on the trail with its events answered without dialogs, whose event 17 stops the
// party at its first choice until the event clears it.
class TripEvents : public StandInModules {
protected:
    void PrepareData(const std::filesystem::path& folder) override
    {
        using traveltest::Choice;
        qmtest::ReplaceFile(folder / "QM3Data.qmd" / "EVT" / qmtest::FolderLibraryWriter::FileName("EVT", 17),
                            traveltest::EventRecordText({}, {Choice{.text = 1, .cap = 100, .delay = -2}}));
    }
    // Each event's first choice taken as Enter would take it (or the step set for its type),
    // without a dialog or a result box.
    class Answers : public CTripEvents {
    public:
        using CTripEvents::CTripEvents;
        void ShowResult(int16_t, int16_t, const CStr*) override {}
        std::map<int16_t, int> steps;

    protected:
        int32_t RunDialog(CEventQueue&, CRouteEvent& event) override
        {
            const auto set = steps.find(event.GetType());
            return kFirstChoiceId +
                   (set != steps.end() ? set->second : FirstChoice(event, GetTrip().GetEventGen()));
        }
    };
    // The party travelling on the trail with `type` queued for the day's end; its answers.
    Answers& TravelWith(int16_t type)
    {
        SetLossReporter([](const CStr&) {});
        auto answers = std::make_unique<Answers>(*Travel());
        Answers& kept = *answers;
        Travel()->GetEventQueue()->SetHandler(std::move(answers));
        Travel()->GetParty()->GetSupplies()->AddItem(CParty::kDraughtAnimals, 6);
        GetModuleMgr()->SetCurModule(CModuleMgr::kTravel);
        Travel()->Resume();
        EXPECT_NE(Travel()->GetTimer(), nullptr) << "travelling";
        Travel()->PostEvent(type, 0, 0, -1, nullptr);
        return kept;
    }
    // Ticks until `done` or for at most 2000 ticks.
    void TickUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 2000 && !done(); ++i)
            Tick();
    }
};

// An event that stops the party, met in the day's run of the queue inside the travel screen's
// timer tick: the screen goes to the landmark module (which holds the wait) and stops walking the
// queue; the landmark's 101 brings it back, the wait passes until the event has cleared, and the
// party travels on.
TEST_F(TripEvents, AStopInsideTheDaysRunWaitsAtTheLandmarkThenTravelsOn)
{
    TravelWith(17);
    const int16_t days = Travel()->GetDaysOnRoute();
    TickUntil([] { return GetModuleMgr()->GetCurModule() != CModuleMgr::kTravel; });
    EXPECT_EQ(Travel()->GetDaysOnRoute(), days + 1) << "stopped at the day's end";
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kLandmark);
    EXPECT_EQ(Travel()->GetLandmarkId(), CTrip::kEventStopLandmarkId);
    EXPECT_TRUE(Travel()->IsTripSuspended());
    EXPECT_FALSE(Travel()->IsEnabled()) << "the walk stopped";
    EXPECT_EQ(Travel()->GetMode(), CTrip::kStopped);
    EXPECT_EQ(Travel()->GetWaitDays(), -1);
    ASSERT_NE(Travel()->GetEventQueue()->FindEvent(17), nullptr);

    Tick();
    Tick();
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kTravel);
    EXPECT_EQ(GetModuleMgr()->GetModule(CModuleMgr::kLandmark), nullptr);
    EXPECT_EQ(Travel()->GetEventQueue()->FindEvent(17), nullptr) << "the wait cleared the event";
    EXPECT_GT(Travel()->GetDaysOnRoute(), days + 1) << "a day of waiting";
    EXPECT_EQ(Travel()->GetMode(), CTrip::kMoving);
    EXPECT_EQ(Travel()->GetWaitDays(), 0);
    EXPECT_TRUE(Travel()->IsEnabled());
    EXPECT_NE(Travel()->GetTimer(), nullptr) << "travelling again";
}

// The leader's end met in the day's run of the queue inside the travel screen's tick: its
// first step quits the program, its second starts the trip over, back at the opening screen;
// either way nothing more of the ended trip runs.
TEST_F(TripEvents, TheLeadersDeathInsideTheDaysRunQuits)
{
    TravelWith(48).steps[48] = 0;
    TickUntil([] { return IsQuitRequested(); });
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(Travel()->GetParty()->GetMember(0)->GetStatus(), 0);
    for (int i = 0; i < 300; ++i)
        Tick();
    SetQuitRequested(false);
}

TEST_F(TripEvents, TheLeaderFiredInsideTheDaysRunStartsTheTripOver)
{
    const CParty* before = Travel()->GetParty();
    TravelWith(99).steps[99] = 1;
    TickUntil([before] { return Travel()->GetParty() != before; });
    EXPECT_EQ(Travel()->GetNodeId(), -1);
    EXPECT_EQ(Travel()->GetMode(), CTrip::kNotOnRoute);
    EXPECT_EQ(Travel()->GetEventQueue()->GetCount(), 0);
    EXPECT_EQ(Travel()->GetParty()->GetMember(0)->GetStatus(), CPartyMember::kStatusTravelling);
    for (int i = 0; i < 10; ++i)
        Tick();
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 0) << "the opening screen";
    EXPECT_EQ(Travel()->GetTimer(), nullptr);
    EXPECT_FALSE(IsQuitRequested());
}

} // namespace
