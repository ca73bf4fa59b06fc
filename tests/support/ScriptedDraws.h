#pragma once
// The draws of CUtil::Random answered from a script, so a test can steer every random choice.
// Each object takes the draw source while it is scripted and gives it back when it goes.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "engine/framework/Util.h"

namespace qmtest {

// Answers the scripted values in order, then each range's low end; every range asked is noted.
class DrawsInOrder {
public:
    DrawsInOrder() = default;
    ~DrawsInOrder() { CUtil::SetDrawSource(nullptr); }
    DrawsInOrder(const DrawsInOrder&) = delete;
    DrawsInOrder& operator=(const DrawsInOrder&) = delete;

    void Script(const std::vector<int32_t>& values)
    {
        values_.assign(values.begin(), values.end());
        CUtil::SetDrawSource([this](int32_t lo, int32_t hi, int32_t) {
            ranges.emplace_back(lo, hi);
            if (values_.empty())
                return lo;
            const int32_t v = values_.front();
            values_.pop_front();
            return v;
        });
    }

    std::vector<std::pair<int32_t, int32_t>> ranges;

private:
    std::deque<int32_t> values_;
};

// Answers scripted (low, high, value) draws in order, each checked against the range asked; a
// draw past the script fails the test and answers the range's low end.
class CheckedDraws {
public:
    using Draw = std::array<int32_t, 3>;

    CheckedDraws() = default;
    ~CheckedDraws() { CUtil::SetDrawSource(nullptr); }
    CheckedDraws(const CheckedDraws&) = delete;
    CheckedDraws& operator=(const CheckedDraws&) = delete;

    void Script(const std::vector<Draw>& draws)
    {
        draws_.assign(draws.begin(), draws.end());
        CUtil::SetDrawSource([this](int32_t lo, int32_t hi, int32_t) {
            if (draws_.empty()) {
                ADD_FAILURE() << "an unscripted draw " << lo << ".." << hi;
                return lo;
            }
            const Draw d = draws_.front();
            draws_.pop_front();
            EXPECT_EQ(lo, d[0]);
            EXPECT_EQ(hi, d[1]);
            return d[2];
        });
    }
    size_t Left() const { return draws_.size(); }

private:
    std::deque<Draw> draws_;
};

} // namespace qmtest
