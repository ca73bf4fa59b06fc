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
#include "tests/game/travel/EventTrip.h"

namespace {

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
    // A trip on no node in early summer, every event possible, the player holding a post.
    traveltest::EventTrip trip;
    trip.party = &party;
    trip.date = CDate(1848, 6, 20);
    trip.weather = std::make_unique<CWeather>(10, trip.date);
    trip.pace = 1;
    trip.post = 1;
    trip.daysOnRoute = trip.daysSinceStop = 40;
    trip.allowAll = true;
    trip.flags = {CEventGen::kFlagNoFood, CEventGen::kFlagNoMeat, CEventGen::kFlagNoTag15};
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
