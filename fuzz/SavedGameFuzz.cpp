// Loads arbitrary bytes as a saved game, as the game opens one (every record, with a trip that
// reads record 2, checks its party's food after the load and starts over when the load fails,
// and twelve modules standing by), and prints it as qmsave does. A small folder library
// names discs 1-3 and holds the game's messages and the diary's entries.
// Run: fuzz_SavedGameFuzz fuzz/corpus/SavedGameFuzz
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/base/save/QM3Doc.h"
#include "game/base/save/SaveGameHost.h"
#include "game/travel/Party.h"
#include "game/travel/PartyTrip.h"
#include "game/travel/Trip.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tools/QmSave.h"

namespace {

// A running game with a trip; its other modules read nothing of their own.
class FuzzHost : public CSaveGameHost {
public:
    FuzzHost()
    {
        SetPartyTrip(&trip_);
        trip_.SetUpTrip();
    }
    bool HasTravel() const override { return true; }
    void LoadTravel(CQM3Doc& doc) override { trip_.Load(doc); }
    void UpdatePartyAfterLoad() override
    {
        if (CParty* party = trip_.GetParty())
            party->CheckFood();
    }
    void ResetTrip() override { trip_.ResetTripState(); }
    bool HasModule(int16_t) const override { return true; }

private:
    CTrip trip_;
};

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = fuzz::MakeTempFolder("qm-savefuzz");
        std::filesystem::create_directories(path / "data" / "STR");
        std::ofstream(path / "data" / "STR" / "000090.STR") << "\"QM3\" \"D1\" \"D2\" \"D3\"\n";
        std::ofstream(path / "data" / "STR" / "000100.STR")
            << "\"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\" \"h\" \"i\" \"j\"\n";
        std::ofstream(path / "data" / "STR" / "008900.STR") << "\"went on\" \"rested\"\n";
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\data"));
        static FuzzHost host;
        SetSaveGameHost(&host);
        return path;
    }();
    return folder;
}

void LoadGame(const uint8_t* data, size_t size)
{
    const fuzz::InputFile file(Folder() / "game.qm3", data, size);
    CQM3Doc doc(std::make_unique<CFileSpec>("C:\\game.qm3"));
    doc.Load();
    plat::GetScriptedMessageBoxes().Clear();
    try {
        ShowSavedGame(std::vector<uint8_t>(data, data + size));
    } catch (const std::runtime_error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] { LoadGame(data, size); });
    return 0;
}
