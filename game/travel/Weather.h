#pragma once
// CWeather: the weather of the party's climate region, one day at a time: a high and a low
// temperature (whole degrees Fahrenheit), a precipitation amount (hundredths of an inch), the
// snow on the ground and the day's snowfall. The climate comes from the region's "WTH" record,
// twelve monthly rows of high bound, mean, low bound, wet-day percentage and normal
// precipitation. The last 30 days are kept so that the event rules, the river crossings and the
// scenery can ask for recent sums and counts; entry 0 is today, entry n is n days ago.
#include <array>
#include <cstdint>

#include "engine/framework/Date.h"

class CDoc;

class CWeather {
public:
    static constexpr int kHistoryDays = 30;
    static constexpr int kMonths = 12;
    // Precipitation kinds.
    enum PrecipKind : int16_t { kNone = 0, kRain = 1, kSnow = 2 };
    // A day whose mean is below this is a snow day; below kFreezingMean it counts as freezing.
    static constexpr int16_t kSnowMean = 30;
    static constexpr int16_t kFreezingMean = 33;
    // The saved record: region, snow depth, snowfall, day counter and the 30 days.
    static constexpr int32_t kRecordSize = 2 * (4 + 3 * kHistoryDays);

    // The weather of `region` up to `date`: a history of 30 days drawn from the 30 days before
    // it, starting from the month's middle values, so that sums and counts mean something
    // from the first travelled day.
    CWeather(int16_t region, const CDate& date);

    // Draws the weather of `date` and makes it today.
    void NewDay(const CDate& date);

    // History entry n (0-29; outside it reads 0).
    int16_t GetHigh(int16_t n) const { return Day(n).high; }
    int16_t GetLow(int16_t n) const { return Day(n).low; }
    int16_t GetMeanTemp(int16_t n) const { return MeanOf(Day(n)); }
    // The precipitation of entry n, and its kind.
    int16_t GetDayPrecip(int16_t& kind, int16_t n) const;
    // The precipitation of entries 0..n (n above 29 counts all 30 days; below 0 none).
    int16_t GetPrecipSum(int16_t n) const;
    // The days of the 30 whose mean temperature is below 33.
    int16_t CountFreezingDays() const;

    int16_t GetSnowDepth() const { return snowDepth_; }
    int16_t GetSnowfall() const { return snowfall_; }
    int16_t GetRegion() const { return region_; }
    // Days drawn since the object was made (the warm-up not counted) or loaded.
    int16_t GetDayCount() const { return dayCounter_; }

    // The climate of month m (1-12; outside it reads 0).
    int16_t GetClimateHigh(int16_t m) const { return Climate(m, 0); }
    int16_t GetClimateMean(int16_t m) const { return Climate(m, 1); }
    int16_t GetClimateLow(int16_t m) const { return Climate(m, 2); }
    int16_t GetWetDayPercent(int16_t m) const { return Climate(m, 3); }
    int16_t GetNormalPrecip(int16_t m) const { return Climate(m, 4); }

    // The weather record (188 bytes). Loading reads the region's "WTH" record again.
    void Save(CDoc& doc) const;
    void Load(CDoc& doc);

private:
    struct DayWeather {
        int16_t high = 0;
        int16_t low = 0;
        int16_t precip = 0;
    };
    struct MonthClimate {
        int16_t highBound, mean, lowBound, wetPercent, normalPrecip;
    };

    // Reads the region's "WTH" record; a missing one leaves the table as it is.
    void ReadClimate();
    const DayWeather& Day(int16_t n) const;
    int16_t Climate(int16_t m, int field) const;
    static int16_t MeanOf(const DayWeather& d) { return static_cast<int16_t>((d.high + d.low) / 2); }
    static int16_t KindOf(const DayWeather& d);
    MonthClimate Month(const CDate& date) const;

    int16_t DrawHigh(const MonthClimate& c, const DayWeather& yesterday, int16_t& bottom) const;
    int16_t DrawLow(const MonthClimate& c, const DayWeather& yesterday, int16_t high, int16_t undamped) const;
    int16_t DrawPrecip(const MonthClimate& c, const DayWeather& yesterday, const CDate& date) const;
    // The days that history remembers: the first that matches the date and region replaces the
    // drawn weather.
    void ApplyHistoricalDay(const CDate& date, DayWeather& today);
    void FallAndMelt(DayWeather& today);

    std::array<std::array<int16_t, 5>, kMonths> climate_ = {};
    int16_t region_ = 0;
    int16_t snowDepth_ = 0;
    int16_t snowfall_ = 0;
    int16_t dayCounter_ = 0;
    std::array<DayWeather, kHistoryDays> history_ = {};
};
