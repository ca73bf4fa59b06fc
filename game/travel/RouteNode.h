#pragma once
// CRouteNode: one node of the route (the start, a trail segment, a stop, a landmark, the end),
// read from its "NOD" record: 103 signed 16-bit words. A river node also owns its crossing data
// and a climb or descent its hill record. The travel module keeps one current node and makes a
// new one when the party moves on.
#include <array>
#include <cstdint>
#include <memory>

#include "game/travel/GameRecord.h"
#include "game/travel/RiverData.h"

class CRouteNode {
public:
    enum RouteType : int16_t {
        kNormal = 0,
        kSand = 1,
        kUphill = 2,
        kDownhill = 3,
        kRough = 4,
        kMuddy = 5,
        kFloating = 6,
        kDesert = 7,
        kRiver = 8,
        kLandmark = 9,
    };
    enum Kind : int16_t {
        kStartPoint = 0,
        kTrailSeg = 1,
        kForcedStop = 2,
        kOptionalStop = 3,
        kEndPoint = 4,
        kMapOnly = 5,
        kNeverStop = 6,
    };
    static constexpr int32_t kRecordSize = 206;
    static constexpr int kEventCount = 20;
    static constexpr int kFaunaCount = 50;
    static constexpr int kImageCount = 4;
    static constexpr int kMusicCount = 4;
    static constexpr int kNextCount = 2;
    // The speed percent of a node with plants.
    static constexpr int16_t kPlantsSpeed = 50;

    // Loads node `id`; a node without a record has every field 0.
    explicit CRouteNode(int16_t id);
    virtual ~CRouteNode();
    CRouteNode(const CRouteNode&) = delete;
    CRouteNode& operator=(const CRouteNode&) = delete;

    // Whether the "NOD" record was found.
    bool Exists() const { return exists_; }

    int16_t GetId() const { return Word(kOffId); }
    int16_t GetRouteType() const { return Word(kOffRouteType); }
    int16_t GetLmClass() const { return Word(kOffLmClass); }
    int16_t GetKind() const { return Word(kOffKind); }
    int16_t GetResource() const { return Word(kOffResource); }
    int16_t LandmarkNumber() const { return Word(kOffLandmark); }
    int16_t GetMapId() const { return Word(kOffMapId); }
    int16_t GetCostFactor() const { return Word(kOffCostFactor); }
    int16_t GetMoraleMod() const { return Word(kOffMoraleMod); }
    // Miles from this node to the next.
    int16_t GetLength() const { return Word(kOffLength); }
    // The "WTH" climate table of the node's region.
    int16_t GetWeatherId() const { return Word(kOffWeather); }
    int16_t GetPlants() const { return Word(kOffPlants); }
    // 0-17.
    int16_t GetTerrain() const { return Word(kOffTerrain); }
    int16_t GetInset() const { return Word(kOffInset); }
    // The water the party can fish in here (0-4), -1 for none.
    int16_t GetWaterKind() const { return Word(kOffWaterKind); }
    // A bit mask of the catch types found here; 0 for nothing to catch.
    int16_t GetCatchStock() const { return Word(kOffCatchStock); }

    // Indexed fields; an index outside the field reads 0.
    int16_t GetImage(int16_t i) const { return Entry(kOffImages, kImageCount, i); }
    int16_t GetMusic(int16_t i) const { return Entry(kOffMusic, kMusicCount, i); }
    int16_t GetEvent(int16_t i) const { return Entry(kOffEvents, kEventCount, i); }
    // The following nodes; the second is 0 when there is none.
    int16_t GetNextNode(int16_t i) const { return Entry(kOffNextNode, kNextCount, i); }
    // The animals present for hunting.
    int16_t GetFauna(int16_t i) const { return Entry(kOffFauna, kFaunaCount, i); }
    // The sound effect towards each next node.
    int16_t GetSfx(int16_t i) const { return Entry(kOffSfx, kNextCount, i); }

    // The route map: segment lengths and map codes ((sequence + 1) x 100 + entry) of map A and
    // of the alternative map B.
    int16_t GetSegLengthA() const { return Word(kOffSegLengthA); }
    int16_t GetSegLengthB() const { return Word(kOffSegLengthB); }
    int16_t GetMapCodeA() const { return Word(kOffMapCodeA); }
    int16_t GetMapCodeB() const { return Word(kOffMapCodeB); }

    // The percent of the party's speed on this node, by route type (50 with plants).
    int16_t GetSpeedPercent() const { return speedPercent_; }
    void SetSpeedPercent(int16_t percent) { speedPercent_ = percent; }

    // The crossing of a river node; null for the other route types.
    CRiverData* GetRiverData() const { return river_.get(); }
    // The hill of a climb or descent; null for the other route types.
    const CHilRecord* GetHill() const { return hill_.get(); }

    // The speed percent of a route type; -1 for a type outside the table.
    static int16_t SpeedOfRouteType(int16_t routeType);

private:
    // Byte offsets of the record's fields.
    enum Offset : int32_t {
        kOffId = 0,
        kOffRouteType = 2,
        kOffLmClass = 4,
        kOffKind = 6,
        kOffResource = 8,
        kOffLandmark = 10,
        kOffMapId = 12,
        kOffCostFactor = 14,
        kOffEvents = 16,
        kOffMoraleMod = 56,
        kOffNextNode = 58,
        kOffLength = 62,
        kOffWeather = 64,
        kOffWaterKind = 66,
        kOffFauna = 68,
        // The word of the fauna list where the record keeps a speed for route types without one.
        kOffStoredSpeed = 140,
        kOffPlants = 168,
        kOffTerrain = 170,
        kOffInset = 172,
        kOffImages = 174,
        kOffMusic = 182,
        kOffSfx = 190,
        kOffCatchStock = 194,
        kOffSegLengthA = 198,
        kOffSegLengthB = 200,
        kOffMapCodeA = 202,
        kOffMapCodeB = 204,
    };

    int16_t Word(int32_t offset) const { return words_[static_cast<size_t>(offset / 2)]; }
    int16_t Entry(int32_t offset, int count, int16_t i) const
    {
        return i >= 0 && i < count ? Word(offset + 2 * i) : 0;
    }

    std::array<int16_t, kRecordSize / 2> words_ = {};
    bool exists_ = false;
    int16_t speedPercent_ = 0;
    std::unique_ptr<CRiverData> river_;
    std::unique_ptr<CHilRecord> hill_;
};
