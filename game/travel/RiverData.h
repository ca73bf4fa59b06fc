#pragma once
// CRiverData: the crossing of a river node on the day the party reaches it, from its "RVR"
// record (39 signed 16-bit words) and the day's conditions: how wet the last 30 days were
// against the month's normal moves the depth and width within their ranges (one random draw
// for both) and the swiftness by a step per 100 of wetness; a long frost under snow freezes the
// river; the two paid services run in their month windows and cost what their terms make for
// this party. The travel screen reads the values and marks the two crossing events (23, 24)
// it has used.
//
// Every sum and product of record values is worked in 32 bits and saturated to 16 bits, so
// that large terms or spreads give the largest fee or depth instead of wrapping to a negative
// one. A record that does not load reads as zeros (the clamps then apply).
#include <array>
#include <cstddef>
#include <cstdint>

// The day's conditions at the crossing. Without a travel module: a month exactly as wet as
// normal, no snow, no party (the fees are their base terms), month 0 (no service runs).
struct CrossingConditions {
    int16_t month = 0;
    // The precipitation of the last 30 days less the month's normal.
    int32_t wet = 0;
    int16_t snowDepth = 0;
    int16_t freezingDays = 0;
    bool hasParty = false;
    // Draught animals in their two states (supply items 132 and 182), members travelling.
    int32_t animals = 0;
    int32_t members = 0;
};

class CRiverData {
public:
    // Indices of the "RVR" words.
    enum Value : int {
        kSwiftness = 0,
        kWidthHigh = 1,
        kWidthNormal = 2,
        kWidthLow = 3,
        kDepthHigh = 4,
        kDepthNormal = 5,
        kDepthLow = 6,
        kCrossingValues = 7,
        kService1First = 26,
        kService1Last = 27,
        kService2First = 28,
        kService2Last = 29,
        kService2Value = 30,
        kFee1Base = 31,
        kFee2Base = 35,
    };
    static constexpr int kValueCount = 39;
    static constexpr int kCrossingValueCount = 18;

    // Reads "RVR" record `id` and works the day's values out under the conditions.
    explicit CRiverData(int16_t id, const CrossingConditions& conditions = {});
    virtual ~CRiverData() = default;
    CRiverData(const CRiverData&) = delete;
    CRiverData& operator=(const CRiverData&) = delete;

    // Record word i (0-38); 0 outside.
    int16_t GetValue(int i) const { return i >= 0 && i < kValueCount ? values_[static_cast<size_t>(i)] : 0; }

    // The depth (at least 1): the travel screen's raw depth.
    int16_t GetDepth() const { return depth_; }
    // The depth in sixths, rounded up: how many steps deep the ford is.
    int16_t GetDepthSixths() const { return static_cast<int16_t>((depth_ + 5) / 6); }
    // The width, cut to a round figure (at least 10).
    int16_t GetWidth() const { return width_; }
    // 1 (calm) to 5; 0 when frozen. The travel screen's river condition.
    int16_t GetSwiftness() const { return swiftness_; }
    // The services' prices for this party, in cents.
    int16_t GetFee1() const { return fee1_; }
    int16_t GetFee2() const { return fee2_; }
    // The ferry's price in dollars, cents kept: the party's money is counted in dollars.
    double GetFerryDollars() const { return fee1_ / 100.0; }
    // Whether service 1 runs today; service 2's value when it runs, else 0.
    bool Service1Runs() const { return service1_; }
    int16_t GetService2() const { return service2_; }
    // 1 when the river is frozen over (the scene's variant).
    uint8_t IsFrozen() const { return frozen_; }
    // Record words 7-24, copied.
    int16_t GetCrossingValue(int i) const
    {
        return i >= 0 && i < kCrossingValueCount ? crossing_[static_cast<size_t>(i)] : 0;
    }
    // The crossing events 23 and 24 the travel screen has used here.
    int16_t GetUsed1() const { return used1_; }
    int16_t GetUsed2() const { return used2_; }
    void SetUsed1(int16_t used) { used1_ = used; }
    void SetUsed2(int16_t used) { used2_ = used; }

    // A width cut to a round figure: above 900 to a multiple of 100, above 200 to one of 50,
    // above 50 to one of 10; then at least 10.
    static int16_t CutWidth(int32_t width);
    // base + extra + per animal x animals + per member x members (base alone without a
    // party), saturated to 16 bits.
    static int16_t PartyFee(int32_t base, int32_t extra, int32_t perAnimal, int32_t perMember,
                            const CrossingConditions& conditions);
    // A value saturated to 16 bits.
    static int16_t Saturate(int64_t value);

private:
    // The depth and width within the day's ranges (the wet or dry rules), one draw for both.
    void ApplyWetness(const CrossingConditions& conditions);
    void Freeze(const CrossingConditions& conditions);
    void SetServices(int16_t month);
    bool RunsIn(int16_t month, int first, int last) const;
    int16_t FeeFrom(int first, const CrossingConditions& conditions) const;

    uint8_t frozen_ = 0;
    std::array<int16_t, kValueCount> values_ = {};
    int16_t depth_ = 0;
    int16_t width_ = 0;
    int16_t swiftness_ = 0;
    int16_t fee1_ = 0;
    int16_t fee2_ = 0;
    bool service1_ = false;
    int16_t service2_ = 0;
    int16_t used1_ = 0;
    int16_t used2_ = 0;
    std::array<int16_t, kCrossingValueCount> crossing_ = {};
};
