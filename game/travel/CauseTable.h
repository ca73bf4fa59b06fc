#pragma once
// What each cause a route event applies does to a health condition of each kind. A value pair
// [0]/[1] is used without / with a travelling member of skill 13 (who knows how to treat it).
#include <cstdint>

struct CauseEffect {
    enum Choice : uint8_t { kKeep = 0, kMin = 1, kMax = 2 };

    int16_t chanceB[2] = {};     // follow-up kind 24 chance base
    int16_t severityDiv[2] = {}; // chance-B base = severity × 10 / this
    int16_t b19[2] = {};
    int16_t a30[2] = {};
    int16_t a23[2] = {};
    int16_t lethal[2] = {};
    int16_t k[2] = {}; // kind 27's or kind 19's survival chance of its flags
    uint8_t choice[2] = {};
    bool a30IfOld = false; // A30 is 1 for a person older than 50, else 0
    bool follow47 = false; // chance A 1000 with follow-up kind 47

    constexpr CauseEffect B24(int16_t x, int16_t y) const { return With(&CauseEffect::chanceB, x, y); }
    constexpr CauseEffect SevDiv(int16_t x, int16_t y) const { return With(&CauseEffect::severityDiv, x, y); }
    constexpr CauseEffect B19(int16_t x, int16_t y) const { return With(&CauseEffect::b19, x, y); }
    constexpr CauseEffect A30(int16_t x, int16_t y) const { return With(&CauseEffect::a30, x, y); }
    constexpr CauseEffect A23(int16_t x, int16_t y) const { return With(&CauseEffect::a23, x, y); }
    constexpr CauseEffect L(int16_t x, int16_t y) const { return With(&CauseEffect::lethal, x, y); }
    constexpr CauseEffect L(int16_t x) const { return L(x, x); }
    constexpr CauseEffect K(int16_t x, int16_t y) const { return With(&CauseEffect::k, x, y); }
    constexpr CauseEffect Min() const { return Choose(kMin, kMin); }
    constexpr CauseEffect Max() const { return Choose(kMax, kMax); }
    // The highest severity, unless someone knows better.
    constexpr CauseEffect MaxUnskilled() const { return Choose(kMax, kKeep); }
    constexpr CauseEffect A30IfOld() const
    {
        CauseEffect e = *this;
        e.a30IfOld = true;
        return e;
    }
    constexpr CauseEffect Follow47() const
    {
        CauseEffect e = *this;
        e.follow47 = true;
        return e;
    }

private:
    constexpr CauseEffect With(int16_t (CauseEffect::*field)[2], int16_t x, int16_t y) const
    {
        CauseEffect e = *this;
        (e.*field)[0] = x;
        (e.*field)[1] = y;
        return e;
    }
    constexpr CauseEffect Choose(uint8_t x, uint8_t y) const
    {
        CauseEffect e = *this;
        e.choice[0] = x;
        e.choice[1] = y;
        return e;
    }
};

// The effect of cause `cause` on a condition of kind `kind`; null when it has none.
const CauseEffect* FindCauseEffect(int32_t cause, int32_t kind);
