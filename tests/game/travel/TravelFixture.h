#pragma once
// The party tests' world: a folder library holding the record formats of the sample data and
// the records a test writes, a trip that records what the party asks of it, draws scripted
// as (low, high, count) → value, and a listener for the onset message 300.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/framework/EventObj.h"
#include "game/travel/Party.h"
#include "game/travel/PartyTrip.h"
#include "tests/support/FolderLibraryWriter.h"

class CHealthCond;

namespace traveltest {

// Draws of CUtil::Random, answered in order. A draw of another range, or one more than
// scripted, fails the test; so do draws left over when the script ends.
class ScriptedDraws {
public:
    ScriptedDraws();
    ~ScriptedDraws();
    ScriptedDraws(const ScriptedDraws&) = delete;
    ScriptedDraws& operator=(const ScriptedDraws&) = delete;

    ScriptedDraws& Draw(int32_t lo, int32_t hi, int32_t value, int32_t n = 1);
    size_t Left() const { return draws_.size(); }

private:
    struct Entry {
        int32_t lo, hi, n, value;
    };
    int32_t Next(int32_t lo, int32_t hi, int32_t n);
    std::deque<Entry> draws_;
};

struct PostedEvent {
    int16_t type;
    bool runNow;
    CPartyMember* person;
    bool operator==(const PostedEvent&) const = default;
};

class RecordingTrip : public CPartyTrip {
public:
    RecordingTrip() { SetPartyTrip(this); }
    ~RecordingTrip() override { SetPartyTrip(nullptr); }

    int32_t GetMode() const override { return mode; }
    int32_t GetPace() const override { return pace; }
    int16_t GetHigh() const override { return high; }
    int16_t GetLow() const override { return low; }
    int16_t GetPrecipSum() const override { return precip; }
    bool IsEventPossible(int16_t code) const override;
    void SetSceneFlag(int16_t flag, bool value) override;
    int16_t GetDryDays() const override { return dryDays; }
    CParty* GetParty() const override { return party; }
    CDiary* GetDiary() const override { return diary; }
    void PostAndRunEvent(int16_t type, MsgWord, MsgWord, int16_t, CPartyMember* person) override
    {
        events.push_back({type, true, person});
    }
    void PostEvent(int16_t type, MsgWord, MsgWord, int16_t, CPartyMember* person) override
    {
        events.push_back({type, false, person});
    }

    int32_t mode = 0;
    int32_t pace = 0;
    int16_t high = 70;
    int16_t low = 50;
    int16_t precip = 0;
    std::vector<int16_t> possible;
    std::array<int8_t, 27> flags{}; // -1 unset
    int16_t dryDays = 0;
    CParty* party = nullptr;
    CDiary* diary = nullptr;
    std::vector<PostedEvent> events;
};

// Records every message 300 (person, condition) broadcast while it lives.
class OnsetListener : public CEventObj {
public:
    OnsetListener();
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    std::vector<std::pair<MsgWord, MsgWord>> onsets;
    // Runs at each onset, as a route event shown at once would.
    std::function<void(CPartyMember* person, CHealthCond* condition)> onOnset;
};

class TravelTest : public ::testing::Test {
protected:
    void SetUp() override;

    // An "IVT" record: item type, units per package, package weight, price, shelf life,
    // category, tags.
    void AddItemType(int16_t type, int16_t units, int32_t weight, int32_t price, int16_t shelf,
                     std::vector<int16_t> tags, int16_t category = 0);
    // An "HLT" record from its fifteen used words: flags, V, W, incubation, active and
    // recovery days min/max, severity min/max, recovery severity, recognise percent.
    struct Health {
        int16_t flags = 0, v = 0, w = 0;
        int16_t incMin = 0, incMax = 0, actMin = 0, actMax = 0, recMin = 0, recMax = 0;
        int16_t sevMin = 0, sevMax = 0, recSev = 0, recognise = 0;
    };
    void AddHealth(int32_t kind, const Health& h);
    void AddRecord(const char* type, int32_t id, const std::string& text);
    void AddStrings(int32_t id, const std::vector<std::string>& entries);
    // Adds the written library to the library manager; records written later are not seen.
    void Open();

    // The draws of a person's once flags that set none of them.
    static void NoOnceFlags(ScriptedDraws& draws);
    // A new party (the trip's) whose leader draws age 17, values 3 and 9, occupation 4, the
    // name "Bo" of the random names and no once flags.
    std::unique_ptr<CParty> NewParty();
    // Named person `id` joins in slot `slot`, drawing no once flags.
    static void Join(CParty& party, int16_t slot, int16_t id);

    std::optional<qmtest::FolderLibraryWriter> writer_;
    RecordingTrip trip_;
};

} // namespace traveltest
