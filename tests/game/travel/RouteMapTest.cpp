// The route map's rules without a screen: its saved state, reading the map text, following
// route nodes, choosing entries and working out the frame from the progress.
#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Doc.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "game/travel/RouteObj.h"
#include "game/travel/RouteSeqState.h"
#include "tests/game/travel/TravelRecords.h"
#include "tests/support/LibraryFixtures.h"

namespace {

std::unique_ptr<CTplRec> Lines(std::initializer_list<const char*> lines)
{
    auto record = std::make_unique<CTplRec>();
    for (const char* line : lines)
        record->Add(std::make_unique<CStr>(line));
    return record;
}

// A map of four sequences (so that the node-120 rule can reach sequence 3), each with 24
// entries whose sprites 100 + n have the frame counts of `frames` (10 when not given).
class RouteMap : public ::testing::Test {
protected:
    void SetUp() override { Load(); }

    void Load()
    {
        auto lines = std::make_unique<CTplRec>();
        auto add = [&](const std::string& line) { lines->Add(std::make_unique<CStr>(line.c_str())); };
        for (int s = 0; s < 4; ++s) {
            for (const char* line : {"[seq]", "500", "0", "0", "0"})
                add(line);
            for (int e = 0; e < 24; ++e) {
                add(std::to_string(100 + e));
                for (int i = 0; i < 4; ++i)
                    add("0");
            }
            add(".");
        }
        map = std::make_unique<CRouteObj>(nullptr);
        map->LoadSequences(*lines, nullptr, [this](int32_t sprite) {
            auto it = frames.find(sprite);
            return it == frames.end() ? int16_t{10} : it->second;
        });
    }
    CRouteSeqState& State() { return map->GetState(); }
    void Follow(int16_t id, int16_t codeA, int16_t codeB, int16_t lengthA = 40, int16_t lengthB = 60)
    {
        RouteNodeMapInfo node{id, codeA, codeB, lengthA, lengthB};
        map->UpdateFromNode(&node);
    }
    std::vector<int16_t> Visited()
    {
        return std::vector<int16_t>(State().visited.begin(),
                                    State().visited.begin() + State().CountVisited());
    }

    std::map<int32_t, int16_t> frames;
    std::unique_ptr<CRouteObj> map;
};

TEST(RouteSeqState, StartsEmptyAndRoundTripsItsSeventyThreeBytes)
{
    qmtest::UseTempDirAsDriveC();
    CRouteSeqState state;
    EXPECT_EQ(state.seq, 9999);
    EXPECT_EQ(state.alt, 0);
    EXPECT_EQ(state.lengthA, 9999);
    EXPECT_EQ(state.lengthB, 9999);
    EXPECT_EQ(state.progress, 0);
    for (int16_t slot : state.visited)
        EXPECT_EQ(slot, -1);

    state.seq = 2;
    state.alt = 1;
    state.lengthA = 0x0102;
    state.lengthB = -3;
    state.progress = 40;
    state.Record(7);
    state.Record(8);
    const std::string bytes = traveltest::SaveBytes([&](CDoc& doc) { state.Save(doc); });
    ASSERT_EQ(bytes.size(), 73u);
    EXPECT_EQ(bytes.substr(0, 13), std::string("\x00\x02\x01\x01\x02\xff\xfd\x00\x28\x00\x07\x00\x08", 13));
    EXPECT_EQ(bytes.substr(13), std::string(60, '\xff'));

    CRouteSeqState loaded;
    EXPECT_EQ(traveltest::LoadBytes(bytes, [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kOk);
    EXPECT_EQ(traveltest::SaveBytes([&](CDoc& doc) { loaded.Save(doc); }), bytes);
    EXPECT_EQ(loaded.LastVisited(), 8);

    CRouteSeqState cut;
    EXPECT_NE(traveltest::LoadBytes(bytes.substr(0, 40), [&](CDoc& doc) { cut.Load(doc); }), CDoc::kOk);
}

TEST(RouteSeqText, ReadsSequencesEntriesAndHotspotsWithTheirOrigins)
{
    auto lines = Lines({"ignored before the first sequence",
                        "[first]",
                        "0x1F40",
                        "811",
                        "20",
                        "-5",
                        "8110",
                        "28",
                        "58",
                        "95",
                        "60", //
                        "8111",
                        "0x10",
                        "1",
                        "2",
                        "3", //
                        ".",
                        "between sequences",
                        "[second]",
                        "9",
                        "0",
                        "0",
                        "0",
                        "7",
                        "1",
                        "2",
                        "3",
                        "4"});
    auto hotspots = Lines({"no name yet", "[Tern River] the ford", "8101", "340", "54", "360", "74", "290",
                           "36", "[Cut short", "8101", "1", "2"});
    std::vector<int32_t> asked;
    const auto seqs = ReadRouteSequences(
        *lines, [&](int32_t id) { return id == 811 ? std::make_unique<CTplRec>(*hotspots) : nullptr; },
        [&](int32_t sprite) {
            asked.push_back(sprite);
            return static_cast<int16_t>(sprite == 8110 ? 6 : 0);
        });
    ASSERT_EQ(seqs.size(), 2u);
    const CRouteSeq& first = *seqs[0];
    EXPECT_EQ(first.backgroundId, 8000);
    EXPECT_EQ(first.hotspotListId, 811);
    EXPECT_EQ(first.origin, CPoint(20, -5));
    ASSERT_EQ(first.entries.size(), 2u);
    EXPECT_EQ(first.entries[0].spriteId, 8110);
    EXPECT_EQ(first.entries[0].position, CPoint(48, 53));
    EXPECT_EQ(first.entries[0].place, CPoint(115, 55));
    EXPECT_EQ(first.entries[0].frameCount, 6);
    EXPECT_EQ(first.entries[0].frameShown, 5);
    EXPECT_EQ(first.entries[1].index, 1);
    EXPECT_EQ(first.entries[1].position, CPoint(36, -4));
    EXPECT_EQ(first.entries[1].frameCount, 0);
    ASSERT_EQ(first.hotspots.size(), 1u); // the record cut short is left out
    const CRouteHotspot& river = first.hotspots[0];
    EXPECT_EQ(river.name, "Tern River");
    EXPECT_EQ(river.captionTemplateId, 8101);
    EXPECT_EQ(river.rect, CRect(49, 360, 69, 380));
    EXPECT_EQ(river.captionPoint, CPoint(310, 31));
    // The second sequence's entry runs to the end of the text.
    ASSERT_EQ(seqs[1]->entries.size(), 1u);
    EXPECT_TRUE(seqs[1]->hotspots.empty());
    EXPECT_EQ(asked, (std::vector<int32_t>{8110, 8111, 7}));

    // A sequence whose header is cut short is not read.
    EXPECT_TRUE(ReadRouteSequences(*Lines({"[x]", "1", "2", "3"}), nullptr, nullptr).empty());
}

TEST_F(RouteMap, TheFrameFollowsTheProgressOnTheSegment)
{
    map->SelectSequence(0, 0);
    State().lengthA = 95;
    struct Case {
        int16_t progress;
        int16_t frame;
    } cases[] = {{0, 0}, {-4, 0}, {9, 0}, {10, 1}, {50, 5}, {94, 9}, {95, 9}, {500, 9}};
    for (const Case& c : cases) {
        State().progress = c.progress;
        map->UpdateFrame();
        EXPECT_EQ(map->GetCurFrame(), c.frame) << "progress " << c.progress;
    }
    // The second map code's length counts while the second code is in use.
    State().alt = 1;
    State().lengthB = 10;
    State().progress = 5;
    map->UpdateFrame();
    EXPECT_EQ(map->GetCurFrame(), 2); // per = 10 / 10 + 1
    // An entry without frames stays at frame 0.
    frames[101] = 0;
    Load();
    map->SelectSequence(-1, 1);
    State().progress = 50;
    map->UpdateFrame();
    EXPECT_EQ(map->GetCurFrame(), 0);
}

TEST_F(RouteMap, MapCodesPickTheSequenceAndEntry)
{
    struct Case {
        const char* what;
        int16_t codeA, codeB;
        int16_t seq, entry;
        uint8_t alt;
    } cases[] = {
        {"code A", 203, 0, 1, 3, 0},
        {"no code A takes code B", 0, 305, 2, 5, 1},
        {"neither: entry 0 of sequence 0", 0, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        Load();
        Follow(2, c.codeA, c.codeB);
        EXPECT_EQ(State().seq, c.seq) << c.what;
        EXPECT_EQ(map->GetCurEntry(), c.entry) << c.what;
        EXPECT_EQ(State().alt, c.alt) << c.what;
        EXPECT_EQ(State().lengthA, 40) << c.what;
        EXPECT_EQ(State().lengthB, 60) << c.what;
        EXPECT_EQ(Visited(), std::vector<int16_t>{c.entry}) << c.what;
    }
    // With both codes 0 while a sequence is current, entry 0 of that sequence is recorded.
    Load();
    Follow(2, 205, 0);
    Follow(3, 0, 0);
    EXPECT_EQ(State().seq, 1);
    EXPECT_EQ(Visited(), (std::vector<int16_t>{5, 0}));
    // The second code stays in use while the node has one.
    Follow(4, 207, 208);
    EXPECT_EQ(map->GetCurEntry(), 8);
    EXPECT_EQ(State().alt, 1);
    // The same node again changes nothing (its lengths were set).
    State().progress = 12;
    Follow(4, 207, 208, 1, 1);
    EXPECT_EQ(State().progress, 12);
    EXPECT_EQ(State().lengthA, 40);
}

TEST_F(RouteMap, MapCode420AlsoRecordsEntry21)
{
    Follow(7, 420, 0);
    EXPECT_EQ(State().seq, 3);
    EXPECT_EQ(Visited(), (std::vector<int16_t>{20, 21}));
    EXPECT_EQ(map->GetCurEntry(), 21);
}

TEST_F(RouteMap, ReselectingARecordedEntryOnlyResetsFrameAndProgress)
{
    map->SelectSequence(1, 2);
    map->SelectSequence(-1, 3);
    State().lengthA = 95;
    State().progress = 50;
    map->UpdateFrame();
    ASSERT_EQ(map->GetCurFrame(), 5);
    map->SelectSequence(-1, 2);
    EXPECT_EQ(map->GetCurEntry(), 3);
    EXPECT_EQ(Visited(), (std::vector<int16_t>{2, 3}));
    EXPECT_EQ(map->GetCurFrame(), 0);
    EXPECT_EQ(State().progress, 0);
    // A new entry completes the one that was current.
    map->GetSequences()[1]->entries[3].frameShown = 0;
    map->SelectSequence(-1, 4);
    EXPECT_EQ(map->GetSequences()[1]->entries[3].frameShown, 9);
    EXPECT_EQ(map->GetShownEntry(), -1);
    // Another sequence starts its list afresh; one out of range is ignored.
    map->SelectSequence(2, 6);
    EXPECT_EQ(Visited(), std::vector<int16_t>{6});
    map->SelectSequence(4, 0);
    map->SelectSequence(-2, 0);
    EXPECT_EQ(State().seq, 2);
}

TEST_F(RouteMap, AThirtyThirdEntryIsIgnored)
{
    map->SelectSequence(0, 0);
    for (int16_t e = 1; e < 32; ++e)
        map->SelectSequence(-1, e);
    ASSERT_EQ(State().CountVisited(), 32);
    map->SelectSequence(-1, 40);
    EXPECT_EQ(State().CountVisited(), 32);
    EXPECT_EQ(State().LastVisited(), 31);
    EXPECT_EQ(map->GetCurEntry(), 31);
}

TEST_F(RouteMap, Node120LeavesSequence2TwoThirdsAlongItsSegment)
{
    Follow(120, 305, 0, 90, 0);
    State().progress = 30; // a third of 60: half the frames
    map->UpdateFrame();
    EXPECT_EQ(map->GetCurFrame(), 4); // per = 60 / 10 + 1 = 7
    State().progress = 60;
    map->UpdateFrame();
    EXPECT_EQ(State().seq, 3);
    EXPECT_EQ(Visited(), std::vector<int16_t>{0});
    EXPECT_EQ(State().progress, 0);
    State().progress = 15; // the last third: 30
    map->UpdateFrame();
    EXPECT_EQ(map->GetSegmentTotal(), 30);
    EXPECT_EQ(map->GetCurFrame(), 3); // per = 30 / 10 + 1 = 4
}

TEST_F(RouteMap, NextFrameRaisesTheCurrentEntryOnly)
{
    // Nothing current yet: the last entry becomes current.
    map->SelectSequence(0, 0);
    map->SelectSequence(-1, 40);
    EXPECT_FALSE(map->NextFrame());
    EXPECT_EQ(map->GetCurEntry(), 23);
    CRouteSeqEntry& entry = map->GetSequences()[0]->entries[23];
    entry.frameShown = 3;
    EXPECT_FALSE(map->NextFrame());
    EXPECT_EQ(entry.frameShown, 4);
    EXPECT_EQ(map->GetCurFrame(), 4);
    entry.frameShown = entry.frameCount;
    EXPECT_TRUE(map->NextFrame());

    // A sequence without entries changes nothing.
    auto empty = std::make_unique<CRouteObj>(nullptr);
    empty->LoadSequences(*Lines({"[none]", "1", "2", "0", "0", "."}), nullptr);
    empty->SelectSequence(0, 0);
    EXPECT_TRUE(empty->NextFrame());
    EXPECT_EQ(empty->GetCurEntry(), 0);
}

TEST_F(RouteMap, ProgressAddsUpAndPausingStopsSteps)
{
    map->AddProgress(25);
    map->AddProgress(17);
    EXPECT_EQ(State().progress, 42);
    map->Pause();
    EXPECT_TRUE(map->IsPaused());
    map->Resume();
    EXPECT_FALSE(map->IsPaused());
}

} // namespace
