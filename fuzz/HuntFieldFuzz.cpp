// Builds hunting fields from arbitrary records: the input holds, separated by zero bytes, the
// text of the hunting-ground table "HNT" 5000, of the far strip's "PAN" 5700, of the deer's
// record "STR" 5606 and of the near strip's depth record "STR" 5701; its first byte chooses the
// terrain and season. The strips' and the deer's pictures and sequences are the sample game's.
// The field is built from the table's choice, the deer is placed, stepped, shot at and the view
// scrolled both ways, so whatever the records hold reaches the bands, the paths and the shots.
// Run: fuzz_HuntFieldFuzz fuzz/corpus/HuntFieldFuzz
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/action/HuntField.h"
#include "game/action/HuntModule.h"
#include "game/action/PanoramaStrip.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSteps = 4;

fs::path FileOf(const fs::path& data, const char* type, int id)
{
    char name[16];
    std::snprintf(name, sizeof name, "%06d.%s", id, type);
    return data / type / name;
}

// The sample game's formats, pictures, sequences and cel tables the field needs, once.
const fs::path& Data()
{
    static const fs::path data = [] {
        const fs::path path = fuzz::MakeTempFolder("qm-huntfuzz");
        const fs::path source = fs::path(QM_GAME_DATA_DIR) / "QM3Data";
        const struct {
            const char* type;
            int id;
        } copies[] = {{"HNT", 0},    {"PAN", 0},    {"RLS", 5700}, {"RLS", 5701},
                      {"RLS", 5606}, {"SEQ", 5606}, {"CEL", 5606}};
        for (const auto& c : copies) {
            fs::create_directories(path / "data" / c.type);
            fs::copy_file(FileOf(source, c.type, c.id), FileOf(path / "data", c.type, c.id));
        }
        fs::create_directories(path / "data" / "STR");
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\data"));
        return path / "data";
    }();
    return data;
}

void Write(const char* type, int id, const std::string& text)
{
    std::ofstream(FileOf(Data(), type, id), std::ios::binary) << text;
}

class Host : public CHuntFieldHost {
public:
    void ChangeLiveCount(int16_t) override {}
    void EndHuntByCharge(int16_t) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] {
        if (size < 1)
            return;
        std::vector<std::string> parts(4);
        size_t part = 0;
        for (size_t i = 1; i < size; ++i) {
            if (data[i] == 0 && part + 1 < parts.size())
                ++part;
            else
                parts[part] += static_cast<char>(data[i]);
        }
        Data();
        Write("HNT", CHuntModule::kGroundTable, parts[0]);
        Write("PAN", 5700, parts[1]);
        Write("STR", 5606, parts[2]);
        Write("STR", 5701, parts[3]);

        CUtil::SetRandomSeed(data[0]);
        int32_t ids[3] = {5700, 5701, 0};
        if (!CHuntModule::PickGround(static_cast<int16_t>(data[0] % 20), data[0] % 4, ids))
            ids[0] = 5700; // the bands and records are fuzzed all the same
        CFrame frame(CFrame::kKindFrame, 1, CRect(0, 0, 400, 640), false);
        Host host;
        CHuntField field(100, &frame, &host);
        if (!field.BuildScenery(ids[0], ids[1], ids[2]))
            return;
        for (int i = 0; i < kSteps; ++i) {
            field.Spawn(5606, i % 2 == 0, i == 3);
            if (CHuntTarget* deer =
                    field.AddAnimal(5606, static_cast<int16_t>(i * 300), static_cast<int16_t>(i * 90), false))
                field.ShootAt(deer->GetId(), i % 2);
            field.UpdateAnimals();
            field.Scroll(i % 2, static_cast<int16_t>(30 + 700 * i));
            int16_t hint = static_cast<int16_t>(i - 1);
            field.IsBlocked(i * 1000 - 10, static_cast<int16_t>(i * 100), hint);
        }
    });
    return 0;
}
