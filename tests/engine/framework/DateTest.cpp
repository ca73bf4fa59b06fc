#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Date.h"
#include "platform/Clock.h"
#include "platform/Locale.h"

namespace {

std::string Text(const std::unique_ptr<CStr>& s) { return s ? s->GetText() : "(null)"; }
std::string Text(const CStr* s) { return s ? s->GetText() : "(null)"; }

// ---- Calendar -------------------------------------------------------------------------

TEST(Date, TheFirstDayIsThursdayFourteenthOfSeptember1752)
{
    const CDate first;
    EXPECT_EQ(first.GetDayNumber(), 2361222);
    EXPECT_EQ(CDate(1752, 9, 14).GetDayNumber(), 2361222);
    EXPECT_EQ(first.GetDayOfWeek(), 5);
    EXPECT_EQ(first.GetYear(), 1752);
    EXPECT_EQ(first.GetMonth(), 9);
    EXPECT_EQ(first.GetDay(), 14);
}

TEST(Date, InvalidFieldsGiveTheFirstDay)
{
    struct Case {
        int16_t year, month, day;
    };
    const Case cases[] = {{1751, 12, 31}, {1848, 13, 1}, {1848, 4, 31}, {1848, 0, 1},
                          {1849, 2, 29},  {1900, 2, 29}, {1848, 1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(CDate(c.year, c.month, c.day).GetDayNumber(), CDate::kFirstDay) << c.year << "-" << c.month;
        EXPECT_EQ(CDate::ToDayNumber({c.year, c.month, c.day}), -1) << c.year << "-" << c.month;
    }
    EXPECT_NE(CDate(1848, 2, 29).GetDayNumber(), CDate::kFirstDay);
    EXPECT_NE(CDate(2000, 2, 29).GetDayNumber(), CDate::kFirstDay);
}

TEST(Date, RoundTripsAcrossTheCutOff)
{
    // Known day numbers: the cut-off, the game's start, a leap day, a century, and later.
    struct Case {
        int16_t year, month, day;
        int32_t number;
        int16_t weekday;
    };
    const Case cases[] = {
        {1752, 9, 14, 2361222, 5}, {1752, 12, 31, 2361330, 1}, {1848, 3, 1, 2396088, 4},
        {1848, 2, 29, 2396087, 3}, {1900, 1, 1, 2415021, 2},   {2000, 1, 1, 2451545, 7},
        {2000, 2, 29, 2451604, 3}, {1970, 1, 1, 2440588, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CDate::ToDayNumber({c.year, c.month, c.day}), c.number) << c.year << "-" << c.month;
        CDateFields f;
        CDate::FromDayNumber(f, c.number);
        EXPECT_EQ(f.year, c.year);
        EXPECT_EQ(f.month, c.month);
        EXPECT_EQ(f.day, c.day);
        EXPECT_EQ(CDate(c.number).GetDayOfWeek(), c.weekday) << c.number;
    }
    // Days spread over two whole 400-year cycles from the cut-off come back whole.
    for (int32_t n = CDate::kFirstDay; n < CDate::kFirstDay + 2 * 146097; n += 17) {
        CDateFields f;
        CDate::FromDayNumber(f, n);
        ASSERT_EQ(CDate::ToDayNumber(f), n);
    }
}

TEST(Date, DaysBeforeTheCutOffReadAsZero)
{
    // Only the year is tested against 1752, so 13 September 1752 converts.
    EXPECT_EQ(CDate::ToDayNumber({1752, 9, 13}), 2361221);
    const CDate early(1752, 9, 13);
    EXPECT_EQ(early.GetDayNumber(), 2361221);
    EXPECT_EQ(early.GetDay(), 0);
    EXPECT_EQ(early.GetMonth(), 0);
    EXPECT_EQ(early.GetYear(), 0);
    EXPECT_EQ(CDate(1752, 1, 1).GetYear(), 0);
    CDate first;
    first.AddDays(-1);
    EXPECT_EQ(first.GetDayNumber(), 2361221);
    EXPECT_EQ(first.GetMonth(), 0);
    EXPECT_EQ(CDate(-5).GetDayOfWeek(), 4); // any number has a weekday in 1-7
}

TEST(Date, MonthLengthsAndLeapYears)
{
    EXPECT_EQ(CDate::DaysInMonth(0, 1848), -1);
    EXPECT_EQ(CDate::DaysInMonth(13, 1848), -1);
    EXPECT_EQ(CDate::DaysInMonth(2, 1848), 29);
    EXPECT_EQ(CDate::DaysInMonth(2, 1849), 28);
    EXPECT_EQ(CDate::DaysInMonth(4, 1849), 30);
    EXPECT_EQ(CDate::DaysInMonth(12, 1849), 31);
    EXPECT_TRUE(CDate::IsLeapYear(2000));
    EXPECT_FALSE(CDate::IsLeapYear(1900));
    EXPECT_TRUE(CDate::IsLeapYear(1848));
    EXPECT_FALSE(CDate::IsLeapYear(1849));
    const CDate march(1848, 3, 1);
    EXPECT_EQ(march.GetDayOfWeek(), 4);
    CDateFields f;
    CDate::FromDayNumber(f, march.GetDayNumber() - 1);
    EXPECT_EQ(f.year, 1848);
    EXPECT_EQ(f.month, 2);
    EXPECT_EQ(f.day, 29);
}

TEST(Date, DayArithmetic)
{
    CDate d(1848, 4, 1);
    d += 30;
    EXPECT_EQ(d.GetMonth(), 5);
    EXPECT_EQ(d.GetDay(), 1);
    d -= 31;
    EXPECT_EQ(d.GetMonth(), 3);
    EXPECT_EQ(d.GetDay(), 31);
    const CDate later = d + 1;
    EXPECT_EQ(later.GetMonth(), 4);
    const CDate earlier = d - 30;
    EXPECT_EQ(earlier.GetDay(), 1);
    EXPECT_EQ(d.AddDays(-32767).GetDayNumber(), CDate(1848, 3, 31).GetDayNumber() - 32767);
    CDate wrap(INT32_MAX);
    wrap.AddDays(1);
    EXPECT_EQ(wrap.GetDayNumber(), INT32_MIN);
}

TEST(Date, MonthAndYearArithmetic)
{
    struct Case {
        int16_t year, month, day;
        bool years; // AddYears instead of AddMonths
        int16_t n;
        bool ok;
        int16_t toYear, toMonth, toDay;
    };
    const Case cases[] = {
        {1848, 1, 31, false, 1, true, 1848, 2, 29},    {1849, 1, 31, false, 1, true, 1849, 2, 28},
        {1849, 3, 31, false, -1, true, 1849, 2, 28},   {1848, 2, 29, false, 12, true, 1849, 2, 28},
        {1848, 11, 15, false, 3, true, 1849, 2, 15},   {1848, 2, 29, true, 1, false, 1848, 2, 29},
        {1848, 2, 29, true, 4, true, 1852, 2, 29},     {1752, 10, 1, false, -1, false, 1752, 10, 1},
        {1753, 9, 1, true, -1, false, 1753, 9, 1},     {1753, 9, 20, true, -1, true, 1752, 9, 20},
        {1848, 6, 1, false, 32000, false, 1848, 6, 1},
    };
    for (const Case& c : cases) {
        CDate d(c.year, c.month, c.day);
        EXPECT_EQ(c.years ? d.AddYears(c.n) : d.AddMonths(c.n), c.ok)
            << c.year << "-" << c.month << " " << c.n;
        EXPECT_EQ(d.GetDayNumber(), CDate(c.toYear, c.toMonth, c.toDay).GetDayNumber())
            << c.year << "-" << c.month << " " << c.n;
    }
    CDate early(1752, 9, 13);
    EXPECT_FALSE(early.AddMonths(1));
    EXPECT_FALSE(early.AddYears(1));
}

TEST(Date, YearDigitsAndToday)
{
    EXPECT_EQ(CDate(1848, 5, 1).GetYear(true), 48);
    EXPECT_EQ(CDate(1905, 5, 1).GetYear(true), 5);
    const plat::WallTime fixed{1999, 12, 31, 23, 59, 59, 5};
    plat::SetWallTimeOverride(&fixed);
    const std::unique_ptr<CDate> today = CDate::Today();
    EXPECT_EQ(today->GetDayNumber(), CDate(1999, 12, 31).GetDayNumber());
}

// ---- Locale and formatting ------------------------------------------------------------

// A locale whose every value a test can set, counting the reads and logging the writes.
class FakeLocale : public plat::LocaleProvider {
public:
    FakeLocale()
    {
        const char* months[] = {"Jan.", "Feb.", "March", "April", "May",  "June",
                                "July", "Aug.", "Sept.", "Oct.",  "Nov.", "Dec."};
        const char* days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
        for (int i = 1; i <= 12; ++i) {
            values[{plat::LocaleValue::MonthName, i}] = std::string(months[i - 1]) + "uary";
            values[{plat::LocaleValue::AbbrevMonthName, i}] = months[i - 1];
        }
        for (int i = 1; i <= 7; ++i) {
            values[{plat::LocaleValue::DayName, i}] = std::string(days[i - 1]) + "day";
            values[{plat::LocaleValue::AbbrevDayName, i}] = days[i - 1];
        }
        values[{plat::LocaleValue::CalendarType, 0}] = "1";
        values[{plat::LocaleValue::ShortDateOrder, 0}] = "0";
        values[{plat::LocaleValue::DateSeparator, 0}] = "/";
        values[{plat::LocaleValue::LongDateOrder, 0}] = "0";
        values[{plat::LocaleValue::LongDatePicture, 0}] = "dddd, MMMM dd, yyyy";
    }
    std::optional<std::string> Get(plat::LocaleValue value, int index) const override
    {
        ++reads;
        const auto it = values.find({value, index});
        if (it == values.end())
            return std::nullopt;
        return it->second;
    }
    bool Set(plat::LocaleValue value, const std::string& text) override
    {
        writes.push_back(text);
        values[{value, 0}] = text;
        return true;
    }
    std::optional<std::vector<std::string>> LongDatePictures() const override { return pictures; }

    std::map<std::pair<plat::LocaleValue, int>, std::string> values;
    std::optional<std::vector<std::string>> pictures =
        std::vector<std::string>{"dddd, MMMM dd, yyyy", "MMMM dd, yyyy"};
    std::vector<std::string> writes;
    mutable int reads = 0;
};

class DateFormat : public ::testing::Test {
protected:
    void SetUp() override { plat::SetLocale(&locale_); }
    void TearDown() override { plat::SetLocale(nullptr); }
    std::vector<std::string> Kinds()
    {
        const CDate alive;
        std::vector<std::string> kinds;
        for (int kind = 0; kind < 6; ++kind)
            kinds.push_back(Text(CDate::GetFormat(kind)));
        return kinds;
    }
    FakeLocale locale_;
};

TEST_F(DateFormat, LocalePicturesGiveTheSixPatterns)
{
    EXPECT_EQ(Kinds(), (std::vector<std::string>{"%dddd, %mmmm %dd, %yyyy", "%mmmm %dd, %yyyy",
                                                 "%ddd, %mmm %dd, %yyyy", "%mmm %dd, %yyyy", "%mm/%dd/%yyyy",
                                                 "%m/%d/%yy"}));
    const CDate march(1848, 3, 1);
    EXPECT_EQ(Text(march.Format(CDate::kShortFull)), "03/01/1848");
    EXPECT_EQ(Text(march.Format(CDate::kShort)), "3/1/48");
    EXPECT_EQ(Text(march.Format(CDate::kLongWithDayName)), "Wedday, Marchuary 01, 1848");
    EXPECT_EQ(Text(march.Format(CDate::kAbbrevWithDayName)), "Wed, March 01, 1848");
    EXPECT_EQ(Text(march.Format(CDate::kPattern, nullptr)), Text(march.Format(CDate::kLongWithDayName)));
    EXPECT_EQ(Text(march.FormatWith(nullptr)), Text(march.Format(CDate::kLongWithDayName)));
    EXPECT_EQ(Text(march.Format(7)), "");
    EXPECT_EQ(Text(march.Format(-1)), "");
    EXPECT_EQ(CDate::GetFormat(6), nullptr);
}

TEST_F(DateFormat, TheResetForgetsLiveDatesNamesAndPatterns)
{
    // A date left alive (as a failed test may leave one) keeps the names it read.
    auto leaked = std::make_unique<CDate>(1848, 3, 1);
    EXPECT_EQ(Text(CDate::MonthName(3, false)), "Marchuary");
    CDate::ResetLocaleState();
    EXPECT_EQ(CDate::MonthName(3, false), nullptr);
    EXPECT_EQ(CDate::GetFormat(CDate::kShort), nullptr);
    // A date from before the reset going later counts nothing.
    leaked.reset();
    // The next date reads the locale afresh, and the last one to go frees what it read.
    locale_.values[{plat::LocaleValue::MonthName, 3}] = "Marzo";
    {
        const CDate fresh(1848, 3, 1);
        EXPECT_EQ(Text(fresh.GetMonthName(false)), "Marzo");
    }
    EXPECT_EQ(CDate::MonthName(3, false), nullptr);
}

TEST_F(DateFormat, OneMatchingPictureCompletesTheOtherHalf)
{
    locale_.pictures = std::vector<std::string>{"dddd, MMMM dd, yyyy"};
    EXPECT_EQ(Kinds()[1], "%mmmm %dd, %yyyy");
    EXPECT_EQ(Kinds()[3], "%mmm %dd, %yyyy");
    locale_.pictures = std::vector<std::string>{"something else", "MMMM dd, yyyy"};
    EXPECT_EQ(Kinds()[0], "%dddd, %mmmm %dd, %yyyy");
    EXPECT_EQ(Kinds()[2], "%ddd, %mmm %dd, %yyyy");
}

TEST_F(DateFormat, OrdersAndSeparators)
{
    locale_.values[{plat::LocaleValue::ShortDateOrder, 0}] = "1";
    locale_.values[{plat::LocaleValue::DateSeparator, 0}] = ".";
    locale_.values[{plat::LocaleValue::LongDateOrder, 0}] = "1";
    locale_.pictures = std::vector<std::string>{"dddd d. MMMM yyyy", "dd MMMM yyyy"};
    std::vector<std::string> kinds = Kinds();
    EXPECT_EQ(kinds[4], "%dd.%mm.%yyyy");
    EXPECT_EQ(kinds[5], "%d.%m.%yy");
    EXPECT_EQ(kinds[1], "%dd %mmmm %yyyy");
    EXPECT_EQ(kinds[0], "%dddd, %dd %mmmm %yyyy"); // the three-word picture, with the day name put in front

    locale_.values[{plat::LocaleValue::ShortDateOrder, 0}] = "2";
    locale_.values.erase({plat::LocaleValue::DateSeparator, 0});
    locale_.values[{plat::LocaleValue::LongDateOrder, 0}] = "2";
    locale_.pictures = std::vector<std::string>{};
    kinds = Kinds();
    EXPECT_EQ(kinds[4], "%yyyy/%mm/%dd");
    EXPECT_EQ(kinds[5], "%yy/%m/%d");
    // No picture matched: the long patterns come from the one long date picture.
    EXPECT_EQ(kinds[0], "%dddd, %mmmm %dd, %yyyy");
    EXPECT_EQ(kinds[1], "%mmmm %dd, %yyyy");

    // Nothing can be read: the US order, "/" and the default long patterns of order 0.
    locale_.values.clear();
    locale_.pictures = std::nullopt;
    kinds = Kinds();
    EXPECT_EQ(kinds[0], "%dddd, %mmmm %dd, %yyyy");
    EXPECT_EQ(kinds[3], "%mmm %dd, %yyyy");
    EXPECT_EQ(kinds[4], "%mm/%dd/%yyyy");
    EXPECT_EQ(Text(CDate(1848, 3, 1).Format(0)), ",  01, 1848"); // names that cannot be read are empty
}

TEST_F(DateFormat, DefaultLongPatternsByOrder)
{
    locale_.pictures = std::nullopt; // a failed listing leaves the defaults
    locale_.values[{plat::LocaleValue::LongDateOrder, 0}] = "1";
    EXPECT_EQ(Kinds(),
              (std::vector<std::string>{"%dddd, %dd %mmmm %yyyy", "%dd %mmmm %yyyy", "%ddd, %dd %mmm %yyyy",
                                        "%dd %mmm %yyyy", "%mm/%dd/%yyyy", "%m/%d/%yy"}));
    locale_.values[{plat::LocaleValue::LongDateOrder, 0}] = "2";
    EXPECT_EQ(Kinds()[1], "%yyyy %mmmm, %dd");
    locale_.values[{plat::LocaleValue::LongDateOrder, 0}] = "7";
    EXPECT_EQ(Kinds()[0], "");
}

TEST_F(DateFormat, DerivedFromTheLongDatePicture)
{
    locale_.pictures = std::vector<std::string>{}; // listed, but none matches
    struct Case {
        const char* picture;
        const char* kinds[4];
    };
    const Case cases[] = {
        {"dddd, MMMM dd, yyyy",
         {"%dddd, %mmmm %dd, %yyyy", "%mmmm %dd, %yyyy", "%ddd, %mmm %dd, %yyyy", "%mmm %dd, %yyyy"}},
        {"dddd d MMM yyyy", {"%dddd %d %mmm %yyyy", "%d %mmm %yyyy", "%ddd %d %mmm %yyyy", "%d %mmm %yyyy"}},
        {"ddd, dd MMM yyyy",
         {"%dddd, %dd %mmmm %yyyy", "%dd %mmmm %yyyy", "%ddd, %dd %mmm %yyyy", "%dd %mmm %yyyy"}},
        {"ddd, dd MMMM yyyy",
         {"%dddd, %dd %mmmm %yyyy", "%dd %mmmm %yyyy", "%ddd, %dd %mmm %yyyy", "%dd %mmm %yyyy"}},
        {"yyyy MMMM d", {"%dddd, %yyyy %mmmm %d", "%yyyy %mmmm %d", "%ddd, %yyyy %mmm %d", "%yyyy %mmm %d"}},
        {"d MMM yy", {"%dddd, %d %mmmm %yy", "%d %mmmm %yy", "%ddd, %d %mmm %yy", "%d %mmm %yy"}},
        {"yyyy-MM-dd",
         {"%dddd, %mmmm %dd, %yyyy", "%mmmm %dd, %yyyy", "%ddd, %mmm %dd, %yyyy", "%mmm %dd, %yyyy"}},
    };
    for (const Case& c : cases) {
        locale_.values[{plat::LocaleValue::LongDatePicture, 0}] = c.picture;
        const std::vector<std::string> kinds = Kinds();
        for (int kind = 0; kind < 4; ++kind)
            EXPECT_EQ(kinds[static_cast<size_t>(kind)], c.kinds[kind]) << c.picture << " kind " << kind;
    }
}

TEST_F(DateFormat, PatternExpansion)
{
    const CDate d(1848, 3, 1);
    struct Case {
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {"%%", "%"},
        {"a%qb", "ab"},
        {"end%", "end"},
        {"%yyy", "48y"},
        {"%ddddd", ""},
        {"%dddddd", "d"},
        {"%d.%m.%y", "1.3.48"},
        {"%dd/%mm/%yy", "01/03/48"},
        {"%yyyy", "1848"},
        {"%ddd %dddd", "Wed Wedday"},
        {"%mmm|%mmmm", "March|Marchuary"},
        {"%mmmmm!", "!"},
        {"100%% %D", "100% "},
        {"", ""},
        {"plain", "plain"},
    };
    for (const Case& c : cases) {
        const CStr pattern(c.pattern);
        EXPECT_EQ(Text(d.FormatWith(&pattern)), c.text) << c.pattern;
        EXPECT_EQ(Text(d.Format(CDate::kPattern, &pattern)), c.text) << c.pattern;
    }
    const CStr year("%y|%yy");
    EXPECT_EQ(Text(CDate(1905, 1, 2).FormatWith(&year)), "5|05");
}

TEST_F(DateFormat, LongNamesNeverOverrunTheText)
{
    locale_.values[{plat::LocaleValue::MonthName, 3}] = std::string(1000, 'M');
    const CDate d(1848, 3, 1);
    const CStr many("%mmmm%mmmm%mmmm");
    EXPECT_EQ(d.FormatWith(&many)->GetLength(), 3000);
}

TEST_F(DateFormat, NamesAreSharedWhileDatesLive)
{
    EXPECT_EQ(CDate::DayName(1, false), nullptr); // no date alive
    auto first = std::make_unique<CDate>();
    const int readsAfterFirst = locale_.reads;
    EXPECT_EQ(Text(CDate::DayName(1, false)), "Sunday");
    EXPECT_EQ(Text(CDate::DayName(7, true)), "Sat");
    EXPECT_EQ(Text(CDate::MonthName(12, false)), "Dec.uary");
    EXPECT_EQ(CDate::DayName(0, false), nullptr);
    EXPECT_EQ(CDate::DayName(8, false), nullptr);
    EXPECT_EQ(CDate::MonthName(0, true), nullptr);
    EXPECT_EQ(CDate::MonthName(13, true), nullptr);
    EXPECT_EQ(Text(CDate(1848, 3, 1).GetDayName(false)), "Wedday");
    EXPECT_EQ(Text(CDate(1848, 3, 1).GetMonthName(true)), "March");

    const CStr* shared = CDate::DayName(1, false);
    auto second = std::make_unique<CDate>(*first);
    EXPECT_EQ(locale_.reads, readsAfterFirst); // the second date reads nothing
    first.reset();
    EXPECT_EQ(CDate::DayName(1, false), shared);
    second.reset();
    EXPECT_EQ(CDate::DayName(1, false), nullptr);
    EXPECT_EQ(CDate::GetFormat(0), nullptr);

    // A later first date reads the locale again and sees its changes.
    locale_.values[{plat::LocaleValue::DayName, 7}] = "Domingo";
    const CDate again;
    EXPECT_GT(locale_.reads, readsAfterFirst);
    EXPECT_EQ(Text(CDate::DayName(1, false)), "Domingo");
}

TEST_F(DateFormat, ANonGregorianCalendarIsSwitchedWhileDatesLive)
{
    locale_.values[{plat::LocaleValue::CalendarType, 0}] = "3";
    {
        const CDate a;
        EXPECT_EQ(locale_.writes, std::vector<std::string>{"1"});
        {
            const CDate b;
            EXPECT_EQ(locale_.writes.size(), 1u);
        }
        EXPECT_EQ(locale_.writes.size(), 1u);
    }
    EXPECT_EQ(locale_.writes, (std::vector<std::string>{"1", "3"}));

    for (const char* gregorian : {"1", "2"}) {
        locale_.writes.clear();
        locale_.values[{plat::LocaleValue::CalendarType, 0}] = gregorian;
        {
            const CDate c;
        }
        EXPECT_TRUE(locale_.writes.empty()) << gregorian;
    }
}

TEST(DateDefaultLocale, UsEnglishNamesAndNoWrites)
{
    plat::LocaleProvider& locale = plat::GetLocale();
    EXPECT_TRUE(locale.Set(plat::LocaleValue::CalendarType, "3"));
    EXPECT_EQ(locale.Get(plat::LocaleValue::CalendarType), "1"); // accepted and ignored
    const CDate d(1848, 3, 1);
    EXPECT_EQ(Text(d.Format(CDate::kLongWithDayName)), "Wednesday, March 01, 1848");
    EXPECT_EQ(Text(d.Format(CDate::kAbbrev)), "Mar 01, 1848");
    EXPECT_EQ(Text(d.Format(CDate::kShortFull)), "03/01/1848");
}

} // namespace
