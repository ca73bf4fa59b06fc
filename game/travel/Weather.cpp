#include "game/travel/Weather.h"

#include <algorithm>

#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "game/travel/GameRecord.h"

namespace {

int16_t Clamp16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, -32768, 32767)); }

int32_t R(int32_t lo, int32_t hi) { return CUtil::Random(lo, hi, 1); }

// A double converted to an integer toward zero.
int32_t Trunc(double v) { return static_cast<int32_t>(v); }

// The snow depth the 1846 storm leaves at least.
constexpr int16_t kStormSnow = 300;

} // namespace

CWeather::CWeather(int16_t region, const CDate& date) : region_(region)
{
    ReadClimate();
    CDate day = date - static_cast<int16_t>(kHistoryDays);
    const MonthClimate c = Month(day);
    for (DayWeather& d : history_) {
        d.high = static_cast<int16_t>(c.mean + (c.highBound - c.mean) / 2);
        d.low = static_cast<int16_t>(c.mean - (c.mean - c.lowBound) / 2);
        d.precip = 0;
    }
    dayCounter_ = 0;
    for (int i = 0; i < kHistoryDays; ++i) {
        NewDay(day);
        day += 1;
    }
    dayCounter_ = 0;
}

void CWeather::ReadClimate()
{
    const CGameRecord record("WTH", region_);
    if (!record.Exists())
        return;
    for (int m = 0; m < kMonths; ++m)
        for (int f = 0; f < 5; ++f)
            climate_[static_cast<size_t>(m)][static_cast<size_t>(f)] = record.Short(2 * (5 * m + f));
}

const CWeather::DayWeather& CWeather::Day(int16_t n) const
{
    static const DayWeather kNoDay;
    return n >= 0 && n < kHistoryDays ? history_[static_cast<size_t>(n)] : kNoDay;
}

int16_t CWeather::Climate(int16_t m, int field) const
{
    return m >= 1 && m <= kMonths ? climate_[static_cast<size_t>(m - 1)][static_cast<size_t>(field)] : 0;
}

CWeather::MonthClimate CWeather::Month(const CDate& date) const
{
    const int16_t m = date.GetMonth();
    return {Climate(m, 0), Climate(m, 1), Climate(m, 2), Climate(m, 3), Climate(m, 4)};
}

int16_t CWeather::KindOf(const DayWeather& d)
{
    if (d.precip == 0)
        return kNone;
    return MeanOf(d) < kSnowMean ? kSnow : kRain;
}

int16_t CWeather::GetDayPrecip(int16_t& kind, int16_t n) const
{
    kind = KindOf(Day(n));
    return Day(n).precip;
}

int16_t CWeather::GetPrecipSum(int16_t n) const
{
    const int last = std::min<int>(n, kHistoryDays - 1);
    int32_t sum = 0;
    for (int i = 0; i <= last; ++i)
        sum += history_[static_cast<size_t>(i)].precip;
    return Clamp16(sum);
}

int16_t CWeather::CountFreezingDays() const
{
    return static_cast<int16_t>(std::count_if(history_.begin(), history_.end(),
                                              [](const DayWeather& d) { return MeanOf(d) < kFreezingMean; }));
}

void CWeather::NewDay(const CDate& date)
{
    std::copy_backward(history_.begin(), history_.end() - 1, history_.end());
    const DayWeather yesterday = history_[1];
    const MonthClimate c = Month(date);
    DayWeather& today = history_[0];

    int16_t bottom = 0;
    const int16_t undamped = DrawHigh(c, yesterday, bottom);
    today.high = static_cast<int16_t>(snowDepth_ > 0 ? undamped - 3 : undamped);
    if (today.high < bottom)
        today.high = bottom;
    today.low = DrawLow(c, yesterday, today.high, undamped);
    today.precip = 0;
    today.precip = DrawPrecip(c, yesterday, date);
    ApplyHistoricalDay(date, today);
    FallAndMelt(today);
    if (dayCounter_ < INT16_MAX)
        ++dayCounter_;
}

int16_t CWeather::DrawHigh(const MonthClimate& c, const DayWeather& yesterday, int16_t& bottom) const
{
    const int32_t top = std::min<int32_t>(c.highBound, yesterday.high + 17);
    int32_t low = std::max<int32_t>(c.mean - 17, c.lowBound);
    low = std::max<int32_t>(low, yesterday.high - 20);
    if (low > top)
        low = top - 3;
    bottom = Clamp16(low);
    return Clamp16((yesterday.high + 2 * R(low, top)) / 3);
}

int16_t CWeather::DrawLow(const MonthClimate& c, const DayWeather& yesterday, int16_t high,
                          int16_t undamped) const
{
    const int32_t spread = c.highBound - c.lowBound;
    const int32_t d = Trunc(spread * (R(20, 40) / 100.0));
    const int32_t lmin = std::max<int32_t>(c.lowBound, high - d);
    const int32_t lmax = high - 2;
    int32_t low = (yesterday.low + 2 * R(lmin, lmax)) / 3;
    if (low >= undamped)
        low = undamped - 1;
    return Clamp16(low);
}

int16_t CWeather::DrawPrecip(const MonthClimate& c, const DayWeather& yesterday, const CDate& date) const
{
    double wet = c.wetPercent / 100.0;
    double chance = wet * (yesterday.precip != 0 ? 1.25 : 0.75);
    int32_t normal = c.normalPrecip;
    // The drought of 1850 in the dry regions: a third of the usual rain from April to October.
    const int16_t month = date.GetMonth();
    if (date.GetYear() == 1850 && month >= 4 && month <= 10 &&
        (region_ == 26 || region_ == 6 || region_ < 5)) {
        chance /= 3;
        wet /= 3;
        normal /= 3;
    }
    if (R(1, 100) > chance * 100)
        return 0;
    const int32_t wetDays = std::max(1, Trunc(wet * 31));
    const int32_t share = normal / wetDays;
    const int32_t recent = GetPrecipSum(dayCounter_);
    const int32_t r = R(0, 100);
    const int32_t cap = Trunc(normal * 0.85);
    if (recent > normal)
        return 1;
    if (r > 50 || recent > cap)
        return Clamp16(R(1, 2 * share));
    if (r > 40)
        return Clamp16(R(Trunc(normal * 0.3), normal));
    return Clamp16(R(1, Trunc(normal * 0.3)));
}

void CWeather::ApplyHistoricalDay(const CDate& date, DayWeather& today)
{
    const int16_t year = date.GetYear(), month = date.GetMonth(), day = date.GetDay();
    if (year == 1844 && (month == 4 || month == 5) && region_ < 3) {
        if (R(0, 99) < 85)
            today.precip = static_cast<int16_t>(R(3, 10));
        return;
    }
    if (year == 1846 && (region_ == 29 || region_ == 25) && month == 10 && day > 27) {
        snowDepth_ = std::max(snowDepth_, kStormSnow);
        today.precip = static_cast<int16_t>(R(5, 15));
        today.low = static_cast<int16_t>(R(-5, 5));
        today.high = static_cast<int16_t>(R(10, 20));
        return;
    }
    if (year == 1849 && month == 6 && day >= 9 && day <= 11 && region_ == 26) {
        today.precip = static_cast<int16_t>(R(7, 15));
        return;
    }
    if (year == 1856 && region_ == 6 && month == 11 && (day == 3 || day == 4)) {
        today.precip = static_cast<int16_t>(R(15, 20));
        today.low = static_cast<int16_t>(R(-5, 5));
        today.high = static_cast<int16_t>(R(10, 20));
    }
}

void CWeather::FallAndMelt(DayWeather& today)
{
    const int16_t kind = KindOf(today);
    snowfall_ = 0;
    if (kind == kSnow) {
        snowfall_ = Clamp16(6 * today.precip);
        snowDepth_ = Clamp16(snowDepth_ + snowfall_);
    }
    if (snowDepth_ <= 0)
        return;
    int32_t melt = kind == kRain ? 4 * today.precip : 0;
    const int32_t above = today.high - 32;
    double rate = 0.0;
    if (today.low > 32)
        rate = above * 9.0;
    else if (MeanOf(today) > 32)
        rate = above * 6.0;
    else if (today.high > 32)
        rate = above * 3.0;
    rate = rate / 100.0 + 0.03;
    melt += Trunc(snowDepth_ * rate);
    if (melt == 0 && rate > 0.03)
        melt = 1;
    melt = std::min<int32_t>(melt, snowDepth_);
    snowDepth_ = static_cast<int16_t>(snowDepth_ - melt);
    // The melt water counts as yesterday's precipitation.
    history_[1].precip = Clamp16(history_[1].precip + melt / 6);
}

void CWeather::Save(CDoc& doc) const
{
    doc.WriteShort(region_).WriteShort(snowDepth_).WriteShort(snowfall_).WriteShort(dayCounter_);
    for (const DayWeather& d : history_)
        doc.WriteShort(d.high).WriteShort(d.low).WriteShort(d.precip);
}

void CWeather::Load(CDoc& doc)
{
    doc.ReadShort(region_);
    ReadClimate();
    doc.ReadShort(snowDepth_).ReadShort(snowfall_).ReadShort(dayCounter_);
    for (DayWeather& d : history_)
        doc.ReadShort(d.high).ReadShort(d.low).ReadShort(d.precip);
    // A damaged file may hold negative snow; there is never less than none.
    snowDepth_ = std::max<int16_t>(snowDepth_, 0);
}
