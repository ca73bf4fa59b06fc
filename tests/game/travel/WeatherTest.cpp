#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/framework/Date.h"
#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "game/travel/Weather.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelRecords.h"

namespace traveltest {
namespace {

// Answers every draw with the value `pick` gives for its range; records the ranges asked.
class DrawAnswers {
public:
    explicit DrawAnswers(std::function<int32_t(int32_t lo, int32_t hi)> pick) : pick_(std::move(pick))
    {
        CUtil::SetDrawSource([this](int32_t lo, int32_t hi, int32_t) {
            asked.emplace_back(lo, hi);
            return pick_(lo, hi);
        });
    }
    ~DrawAnswers() { CUtil::SetDrawSource(nullptr); }
    DrawAnswers(const DrawAnswers&) = delete;
    DrawAnswers& operator=(const DrawAnswers&) = delete;

    std::vector<std::pair<int32_t, int32_t>> asked;

private:
    std::function<int32_t(int32_t, int32_t)> pick_;
};

// Every draw gives its low end, except the chance of rain, which never comes.
int32_t DryLows(int32_t lo, int32_t hi) { return lo == 1 && hi == 100 ? 100 : lo; }

std::string Climate(int16_t high, int16_t mean, int16_t low, int16_t wet, int16_t normal)
{
    std::ostringstream text;
    for (int m = 0; m < 12; ++m)
        text << (m ? ", " : "") << high << ", " << mean << ", " << low << ", " << wet << ", " << normal;
    return text.str();
}

class WeatherTest : public TravelTest {};

TEST_F(WeatherTest, TheDroughtOf1850CutsTheRainInTheDryRegions)
{
    for (int16_t region : {3, 6, 26, 10})
        AddRecord("WTH", region, Climate(80, 60, 40, 30, 90));
    Open();
    struct Case {
        int16_t region, year, month;
        bool drought;
    };
    const Case cases[] = {{3, 1850, 6, true},  {6, 1850, 4, true},  {26, 1850, 10, true},
                          {3, 1851, 6, false}, {3, 1850, 3, false}, {3, 1850, 11, false},
                          {10, 1850, 6, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "region " << c.region << ", " << c.year << "-" << c.month);
        const CDate day(c.year, c.month, 15);
        std::optional<CWeather> weather;
        {
            const DrawAnswers dry(DryLows);
            weather.emplace(c.region, day);
        }
        // A chance of 8 in 100: inside the usual 22.5 (30% of days, 0.75 after a dry day),
        // outside the drought's 7.5. The amount is the whole normal: 90, or 30 in the drought.
        const DrawAnswers wet([](int32_t lo, int32_t hi) {
            if (lo == 1 && hi == 100)
                return 8;
            return lo == 0 && hi == 100 ? 45 : hi;
        });
        weather->NewDay(day);
        int16_t kind = 0;
        EXPECT_EQ(weather->GetDayPrecip(kind, 0), c.drought ? 0 : 90);
        const DrawAnswers wetter([](int32_t lo, int32_t hi) {
            if (lo == 1 && hi == 100)
                return 7;
            return lo == 0 && hi == 100 ? 45 : hi;
        });
        // A second wet day at 7 in 100. After the usual 90 the month's rain has nearly all
        // fallen: a share of the wet days' average (2 x 90 / 9) at the most.
        weather->NewDay(day + 1);
        EXPECT_EQ(weather->GetDayPrecip(kind, 0), c.drought ? 30 : 20);
    }
}

TEST_F(WeatherTest, HistoricalDaysReplaceTheDrawnWeather)
{
    for (int16_t region : {2, 29, 25, 26, 6, 10})
        AddRecord("WTH", region, Climate(90, 70, 50, 0, 100));
    Open();
    struct Case {
        const char* name;
        int16_t region, year, month, day;
        int32_t firstDraw; // the answer to R(0..99) of 1844; -1 when none is asked
        int16_t precip, low, high;
        int32_t snow; // the snow on the ground at the end of the day; -1: not checked
    };
    // Amounts draw their high end, the storms' temperatures their low end, R(0..99) as given;
    // the drawn weather is a dry day of high 64 and low 58.
    const Case cases[] = {
        {"1844 rain", 2, 1844, 5, 10, 84, 10, 58, 64, 0},
        {"1844 no rain", 2, 1844, 4, 10, 85, 0, 58, 64, 0},
        {"1844 in another region", 10, 1844, 4, 10, -1, 0, 58, 64, 0},
        // 300 on the ground, 6 x 15 more, then 3 % of it melts.
        {"1846 first storm day", 29, 1846, 10, 28, -1, 15, -5, 10, 390 - 390 * 3 / 100},
        {"1846 last storm day", 25, 1846, 10, 31, -1, 15, -5, 10, -1},
        {"1846 before the storm", 25, 1846, 10, 27, -1, 0, 58, 64, 0},
        {"1849 flood", 26, 1849, 6, 9, -1, 15, 58, 64, 0},
        {"1849 after the flood", 26, 1849, 6, 12, -1, 0, 58, 64, 0},
        {"1856 storm", 6, 1856, 11, 3, -1, 20, -5, 10, 120 - 120 * 3 / 100},
        {"1856 in another region", 10, 1856, 11, 4, -1, 0, 58, 64, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CDate day(c.year, c.month, c.day);
        std::optional<CWeather> weather;
        {
            const DrawAnswers dry(DryLows);
            weather.emplace(c.region, day);
        }
        bool askedFirst = false;
        const DrawAnswers answers([&](int32_t lo, int32_t hi) {
            if (lo == 0 && hi == 99) {
                askedFirst = true;
                return c.firstDraw;
            }
            if (lo == 1 && hi == 100)
                return 100; // no drawn rain
            if ((lo == -5 && hi == 5) || (lo == 10 && hi == 20))
                return lo;
            return hi >= 3 && lo >= 3 ? hi : lo;
        });
        weather->NewDay(day);
        EXPECT_EQ(askedFirst, c.firstDraw >= 0);
        int16_t kind = 0;
        EXPECT_EQ(weather->GetDayPrecip(kind, 0), c.precip);
        EXPECT_EQ(weather->GetLow(0), c.low);
        EXPECT_EQ(weather->GetHigh(0), c.high);
        if (c.snow >= 0)
            EXPECT_EQ(weather->GetSnowDepth(), c.snow);
        else
            EXPECT_GT(weather->GetSnowDepth(), 300) << "the storm's days before added to it";
    }
}

TEST_F(WeatherTest, SnowMeltsByTheDaysWarmthAndNeverGoesBelowNothing)
{
    AddRecord("WTH", 10, Climate(50, 25, -10, 20, 80));
    Open();
    struct Case {
        int16_t snow, after;
    };
    // A cold dry January day: the draw gives a high of 12, 9 with snow on the ground, so the
    // melt rate is 0.03: 20 melts nothing, 40 and 34 one each.
    for (const Case& c : {Case{20, 20}, Case{40, 39}, Case{34, 33}, Case{0, 0}, Case{-5, 0}}) {
        SCOPED_TRACE(c.snow);
        std::string record;
        record += std::string("\0\x0a", 2);
        record += std::string(1, static_cast<char>((c.snow >> 8) & 0xff)) + static_cast<char>(c.snow & 0xff);
        record += std::string(4, '\0');
        for (int i = 0; i < CWeather::kHistoryDays; ++i)
            record += std::string("\0\x14\0\0\0\0", 6); // high 20, low 0, no precipitation
        const DrawAnswers dry(DryLows);
        CWeather weather(10, CDate(1848, 1, 20));
        ASSERT_EQ(LoadBytes(record, [&](CDoc& doc) { weather.Load(doc); }), CDoc::kOk);
        weather.NewDay(CDate(1848, 1, 20));
        EXPECT_EQ(weather.GetHigh(0), c.snow > 0 ? 9 : 12);
        EXPECT_EQ(weather.GetLow(0), c.snow > 0 ? -2 : 0);
        EXPECT_EQ(weather.GetSnowDepth(), c.after);
    }
}

TEST_F(WeatherTest, AMissingClimateTableReadsAsZeros)
{
    Open();
    CUtil::SetRandomSeed(1);
    CWeather weather(77, CDate(1848, 4, 1));
    EXPECT_EQ(weather.GetRegion(), 77);
    for (int16_t m = 1; m <= 12; ++m)
        EXPECT_EQ(weather.GetClimateHigh(m) | weather.GetClimateMean(m) | weather.GetClimateLow(m) |
                      weather.GetWetDayPercent(m) | weather.GetNormalPrecip(m),
                  0);
    weather.NewDay(CDate(1848, 4, 1));
    EXPECT_EQ(weather.GetSnowDepth(), 0);
    EXPECT_EQ(weather.GetPrecipSum(29), 0) << "no day is wet at 0 %";
}

TEST_F(WeatherTest, TheRecordRoundTripsAndReReadsItsRegionsTable)
{
    AddRecord("WTH", 10, Climate(50, 25, -10, 20, 80));
    AddRecord("WTH", 11, Climate(95, 70, 45, 30, 300));
    Open();
    CUtil::SetRandomSeed(7);
    CWeather saved(10, CDate(1848, 2, 1));
    for (int i = 0; i < 10; ++i)
        saved.NewDay(CDate(1848, 2, 1) + static_cast<int16_t>(i));
    const std::string bytes = SaveBytes([&](CDoc& doc) { saved.Save(doc); });
    EXPECT_EQ(bytes.size(), static_cast<size_t>(CWeather::kRecordSize));
    EXPECT_EQ(bytes.size(), 188u);

    CWeather loaded(11, CDate(1848, 7, 1));
    ASSERT_EQ(LoadBytes(bytes, [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kOk);
    EXPECT_EQ(loaded.GetRegion(), 10);
    EXPECT_EQ(loaded.GetClimateHigh(7), 50) << "the loaded region's table";
    EXPECT_EQ(loaded.GetSnowDepth(), saved.GetSnowDepth());
    EXPECT_EQ(loaded.GetSnowfall(), saved.GetSnowfall());
    EXPECT_EQ(loaded.GetDayCount(), 10);
    for (int16_t n = 0; n < CWeather::kHistoryDays; ++n) {
        EXPECT_EQ(loaded.GetHigh(n), saved.GetHigh(n));
        EXPECT_EQ(loaded.GetLow(n), saved.GetLow(n));
        int16_t a = 0, b = 0;
        EXPECT_EQ(loaded.GetDayPrecip(a, n), saved.GetDayPrecip(b, n));
    }
    EXPECT_EQ(SaveBytes([&](CDoc& doc) { loaded.Save(doc); }), bytes);

    // A region without a table keeps the table the object had.
    std::string other = bytes;
    other[1] = 99;
    CWeather kept(11, CDate(1848, 7, 1));
    ASSERT_EQ(LoadBytes(other, [&](CDoc& doc) { kept.Load(doc); }), CDoc::kOk);
    EXPECT_EQ(kept.GetRegion(), 99);
    EXPECT_EQ(kept.GetClimateHigh(1), 95);

    EXPECT_NE(LoadBytes(bytes.substr(0, 100), [&](CDoc& doc) { kept.Load(doc); }), CDoc::kOk);
}

// ---- The sample climate ----

class SampleWeatherTest : public ::testing::Test {
protected:
    void SetUp() override { OpenSampleData(); }
};

TEST_F(SampleWeatherTest, SixtyDaysOfTheFirstRegion)
{
    CUtil::SetRandomSeed(1);
    CDate day(1848, 4, 1);
    CWeather weather(10, day);
    std::ostringstream text;
    text << "day high low precip snow\n";
    for (int i = 0; i < 60; ++i, day += 1) {
        weather.NewDay(day);
        int16_t kind = 0;
        const int16_t precip = weather.GetDayPrecip(kind, 0);
        text << day.GetYear() << "-" << day.GetMonth() << "-" << day.GetDay() << " " << weather.GetHigh(0)
             << " " << weather.GetLow(0) << " " << precip << " " << weather.GetSnowDepth() << "\n";
    }
    EXPECT_EQ(text.str(), Golden("weather-region10.txt", text.str()));
}

TEST_F(SampleWeatherTest, FiveYearsKeepTheModelsPromises)
{
    for (int16_t region : {10, 11}) {
        CUtil::SetRandomSeed(static_cast<uint32_t>(region));
        CDate day(1847, 10, 1);
        CWeather weather(region, day);
        SCOPED_TRACE(region);
        // A new object has a whole history behind it.
        EXPECT_EQ(weather.GetDayCount(), 0);
        for (int16_t n = 0; n < CWeather::kHistoryDays; ++n)
            ASSERT_NE(weather.GetHigh(n), 0);
        int wetDays = 0, snowDays = 0, meltDays = 0;
        for (int i = 0; i < 5 * 365; ++i, day += 1) {
            const int16_t before = weather.GetSnowDepth();
            const int16_t lastMonth = (day - 1).GetMonth();
            weather.NewDay(day);
            const int16_t high = weather.GetHigh(0), low = weather.GetLow(0);
            int16_t kind = 0;
            const int16_t precip = weather.GetDayPrecip(kind, 0);
            ASSERT_GE(weather.GetSnowDepth(), 0);
            ASSERT_GE(precip, 0);
            // The low stays below the undamped high, which is at most 3 above today's high.
            ASSERT_LT(low, high + 3) << i;
            ASSERT_LE(high,
                      std::max(weather.GetClimateHigh(day.GetMonth()), weather.GetClimateHigh(lastMonth)));
            ASSERT_EQ(weather.GetSnowfall(), kind == CWeather::kSnow ? 6 * precip : 0);
            ASSERT_EQ(kind == CWeather::kSnow, precip > 0 && weather.GetMeanTemp(0) < CWeather::kSnowMean);
            wetDays += precip > 0;
            snowDays += kind == CWeather::kSnow;
            meltDays += weather.GetSnowDepth() < before + weather.GetSnowfall();
            ASSERT_GE(weather.CountFreezingDays(), 0);
            ASSERT_LE(weather.CountFreezingDays(), 30);
            ASSERT_EQ(weather.GetPrecipSum(40), weather.GetPrecipSum(29));
            ASSERT_EQ(weather.GetPrecipSum(-1), 0);
        }
        EXPECT_GT(wetDays, 100);
        EXPECT_GT(snowDays, 5);
        EXPECT_GT(meltDays, 5);
        EXPECT_EQ(weather.GetDayCount(), 5 * 365);
    }
}

} // namespace
} // namespace traveltest
