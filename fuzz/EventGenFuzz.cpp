// Loads arbitrary bytes as the event generator's saved state (the event queue, then the
// generator's counters) over the sample game data's event records, saves it again, and lives
// a travel day of the generator's rules and the queue's run, so that whatever a loaded queue
// holds meets the code that shows and resolves its events.
// Run: fuzz_EventGenFuzz fuzz/corpus/EventGenFuzz
#include <cstdint>
#include <filesystem>
#include <memory>

#include "engine/framework/Date.h"
#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/travel/EventGen.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/Weather.h"
#include "platform/Files.h"

namespace {

// A trip standing still on no node in early summer.
class Trip : public CEventHost, public CEventGenTrip {
public:
    explicit Trip(CParty& party) : party_(party), weather_(10, date_) {}
    CParty* GetParty() const override { return &party_; }
    bool IsTripSuspended() const override { return false; }
    bool IsTravelFrameEnabled() const override { return true; }
    void EnableRoutePanel(bool) override {}
    void SendToTravelFrame(int32_t) override {}
    CDiary* GetDiary() const override { return nullptr; }
    const CDate* GetCurDate() const override { return &date_; }
    const CDate* GetStartDate() const override { return &date_; }
    CWeather* GetWeather() const override { return &weather_; }
    CRouteNode* GetNode() const override { return nullptr; }
    int32_t GetPace() const override { return 1; }
    int16_t GetPost() const override { return 1; }
    int16_t GetDaysOnRoute() const override { return 40; }
    int16_t GetDaysSinceStop() const override { return 40; }
    int16_t GetTripRisk() const override { return 0; }
    bool IsEventPossible(int16_t) const override { return true; }
    bool GetSceneFlag(int16_t) const override { return true; }
    void SetSceneFlag(int16_t, bool) override {}
    void LowerDaySpeed(int16_t) override {}

private:
    CParty& party_;
    CDate date_{1848, 6, 20};
    mutable CWeather weather_;
};

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = fuzz::MakeTempFolder("qm-eventfuzz");
        plat::SetDrives(
            {{'C', path, plat::DriveKind::Fixed}, {'D', QM_GAME_DATA_DIR, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\QM3Data"));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\QM3Lang"));
        return path;
    }();
    return folder;
}

std::unique_ptr<CDoc> MakeDoc(const char* path)
{
    return std::make_unique<CDoc>(nullptr, nullptr, "events", std::make_unique<CFileSpec>(path));
}

void LoadEvents(const uint8_t* data, size_t size)
{
    const fuzz::InputFile file(Folder() / "events.rec", data, size);
    CUtil::SetRandomSeed(1);
    CParty party;
    party.SetMember(1, std::make_unique<CPartyMember>(static_cast<int16_t>(7)));
    party.SetMemberCount(2);
    party.GetSupplies()->AddItem(CParty::kDraughtAnimals, 4);
    Trip trip(party);
    CEventGen gen(trip, trip);
    const auto in = MakeDoc("C:\\events.rec");
    if (in->OpenForLoad() != CDoc::kOk)
        return;
    gen.Load(*in);
    if (in->GetError() != CDoc::kOk)
        return;
    const auto out = MakeDoc("C:\\saved.rec");
    if (out->OpenForSave({}, nullptr) == CDoc::kOk) {
        gen.Save(*out);
        out->CommitSave();
    }
    gen.DailyStep(true);
    gen.GetQueue().RunEvent(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] { LoadEvents(data, size); });
    return 0;
}
