#pragma once
// CRiverData: the crossing of a river node, from its "RVR" record (39 signed 16-bit words).
// This is the crossing of a normal month: the river's normal depth and width, its swiftness
// and the ferry's base fee, with no weather worked in yet. The travel screen reads the values
// and marks the two crossing events (23, 24) it has used.
#include <array>
#include <cstddef>
#include <cstdint>

class CRiverData {
public:
    // Indices of the "RVR" words read here.
    enum Value : int {
        kSwiftness = 0,
        kWidthHigh = 1,
        kWidthNormal = 2,
        kWidthLow = 3,
        kDepthHigh = 4,
        kDepthNormal = 5,
        kDepthLow = 6,
        kFee1Base = 31,
    };
    static constexpr int kValueCount = 39;

    // Reads "RVR" record `id`; a missing record reads as zeros.
    explicit CRiverData(int16_t id);
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
    // The ferry's price for this party, in cents.
    int16_t GetFee1() const { return fee1_; }
    // 1 when the river is frozen over (the scene's variant).
    uint8_t IsFrozen() const { return frozen_; }
    // The crossing events 23 and 24 the travel screen has used here.
    int16_t GetUsed1() const { return used1_; }
    int16_t GetUsed2() const { return used2_; }
    void SetUsed1(int16_t used) { used1_ = used; }
    void SetUsed2(int16_t used) { used2_ = used; }

    // A width cut to a round figure: above 900 to a multiple of 100, above 200 to one of 50,
    // above 50 to one of 10; then at least 10.
    static int16_t CutWidth(int32_t width);

private:
    uint8_t frozen_ = 0;
    std::array<int16_t, kValueCount> values_ = {};
    int16_t depth_ = 0;
    int16_t width_ = 0;
    int16_t swiftness_ = 0;
    int16_t fee1_ = 0;
    int16_t used1_ = 0;
    int16_t used2_ = 0;
};
