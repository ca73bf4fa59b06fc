#pragma once
// The saved-game tests' world: a data library with the game's messages (string list 100, entry
// n reads "message n"), the disc marker names (list 90: discs 1-3) and the diary's entries
// (list 8900), the temporary folder as drive C:, and a host that records what the saved game
// asks of the running game.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "engine/framework/FileSpecs.h"
#include "game/base/save/QM3Doc.h"
#include "game/base/save/SaveGameHost.h"

namespace savetest {

// Big-endian bytes of a saved game, written out by hand.
class Bytes {
public:
    Bytes& Raw(std::string_view text);
    Bytes& Zeros(size_t n);
    Bytes& U16(uint16_t v);
    Bytes& U32(uint32_t v);
    Bytes& U8(uint8_t v);
    // 16-bit values in turn.
    Bytes& U16s(std::initializer_list<int16_t> values);
    // An IEEE double, big-endian (little-endian with `swapped`, as the party's spare value).
    Bytes& Double(double v, bool swapped = false);
    // The header, the padding, the name field and the disc.
    Bytes& Start(std::string_view name, int32_t disc, uint16_t version = CQM3Doc::kVersion);
    // Record 1 with its text.
    Bytes& Diary(std::string_view text);
    const std::string& Str() const { return bytes_; }

private:
    std::string bytes_;
};

class RecordingHost : public CSaveGameHost {
public:
    bool HasTravel() const override { return travel; }
    void SaveTravel(CQM3Doc& doc) override;
    void LoadTravel(CQM3Doc& doc) override;
    void UpdatePartyAfterLoad() override { calls.push_back("update party"); }
    void ResetTrip() override;
    std::optional<CDate> GetCurDate() const override { return date; }
    bool SwitchDisc(int32_t disc) override;
    bool HasModule(int16_t i) const override;
    void LoadModule(int16_t i, CQM3Doc&) override { calls.push_back("load " + std::to_string(i)); }
    void SwitchClose() override { calls.push_back("close"); }
    void Activate() override { calls.push_back("activate"); }
    void SwitchSuspend() override { calls.push_back("suspend"); }

    bool travel = false;
    // The travel state that saving writes.
    std::string travelRecord;
    // Bytes the travel state reads (a failing read ends the load).
    int32_t travelBytes = 0;
    bool discAvailable = true;
    std::vector<int16_t> modules;
    std::optional<CDate> date;
    CQM3Doc* loading = nullptr; // the document whose IsLoading the trip reset records
    std::vector<std::string> calls;
};

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file of the temporary folder and its engine spec.
    std::filesystem::path Host(const std::string& name) const;
    static std::unique_ptr<CFileSpec> Spec(const std::string& name);
    static std::string Read(const std::filesystem::path& path);
    static void Write(const std::filesystem::path& path, const std::string& bytes);
    // The texts of the message boxes shown so far.
    static std::vector<std::string> Boxes();
    // Loads the file into a new document; the code goes to `code`.
    std::unique_ptr<CQM3Doc> LoadFile(const std::string& name, int16_t& code);

    RecordingHost host_;
};

} // namespace savetest
