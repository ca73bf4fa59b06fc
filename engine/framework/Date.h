#pragma once
// CDate: a calendar date held as its Julian day number in the Gregorian calendar, so moving
// by days is plain addition and dates compare by their numbers. Dates before Thursday
// 14 September 1752 (day 2361222) are not valid dates.
//
// While any date exists, the dates share the locale's month and day names and six ready-made
// format patterns: the first date to be made reads them, the last to go frees them.
#include <cstdint>
#include <memory>

#include "engine/framework/Str.h"

struct CDateFields {
    int16_t year = 0;  // the full year, as 1848
    int16_t month = 0; // 1-12
    int16_t day = 0;   // 1-31
};

class CDate {
public:
    static constexpr int32_t kFirstDay = 2361222; // Thursday 14 September 1752

    // Format kinds.
    enum : int32_t {
        kLongWithDayName = 0,
        kLong = 1,
        kAbbrevWithDayName = 2,
        kAbbrev = 3,
        kShortFull = 4, // two-digit day and month, four-digit year
        kShort = 5,     // day and month without leading zero, two-digit year
        kPattern = 6,   // a pattern given by the caller
    };

    CDate();
    // The day number as given, not tested.
    explicit CDate(int32_t dayNumber);
    // The day number of the fields, or kFirstDay when they are not a valid date.
    CDate(int16_t year, int16_t month, int16_t day);
    CDate(const CDate& other);
    CDate& operator=(const CDate& other) = default;
    ~CDate();

    // -1 for a year below 1752, a month outside 1-12 or a day outside the month.
    static int32_t ToDayNumber(const CDateFields& fields);
    // All fields 0 for a day number below kFirstDay.
    static CDateFields& FromDayNumber(CDateFields& out, int32_t dayNumber);
    // -1 for a month outside 1-12.
    static int16_t DaysInMonth(int16_t month, int16_t year);
    static bool IsLeapYear(int16_t year);
    // Today's date by the UTC calendar.
    static std::unique_ptr<CDate> Today();

    int32_t GetDayNumber() const { return dayNumber_; }
    // 1 = Sunday ... 7 = Saturday.
    int16_t GetDayOfWeek() const;
    int16_t GetDay() const;
    int16_t GetMonth() const;
    // The year modulo 100 when lastTwoDigits is set.
    int16_t GetYear(bool lastTwoDigits = false) const;

    CDate& AddDays(int16_t n);
    CDate& operator+=(int16_t n) { return AddDays(n); }
    CDate& operator-=(int16_t n);
    CDate operator+(int16_t n) const;
    CDate operator-(int16_t n) const;
    // Moves by n calendar months, the day cut to the new month's length; false (no change)
    // when the result is not a valid date.
    bool AddMonths(int16_t n);
    // Moves by n years, same month and day; false (no change) when that date does not exist.
    bool AddYears(int16_t n);

    // ---- Formatting with the locale's names and patterns. ----

    // A new string: kinds 0-5 expand the shared pattern of that kind, kind 6 the given
    // pattern (kind 0's when it is null); any other kind gives an empty string.
    std::unique_ptr<CStr> Format(int32_t kind, const CStr* pattern = nullptr) const;
    // The pattern expanded for this date; null means kind 0's pattern.
    //   %d %dd %ddd %dddd: day of month, two-digit day, abbreviated and full day name
    //   %m %mm %mmm %mmmm: month number, two-digit month, abbreviated and full month name
    //   %y %yy %yyyy: year modulo 100, two digits of it, the full year
    //   %%: a percent sign. A run of five letters gives nothing; any other % gives nothing.
    std::unique_ptr<CStr> FormatWith(const CStr* pattern) const;
    // The shared pattern of kind 0-5 itself (not a copy); null for other kinds.
    static const CStr* GetFormat(int32_t kind);
    // The shared names: day 1-7 (1 = Sunday) and month 1-12; null outside the range.
    static const CStr* DayName(int16_t dayOfWeek, bool abbreviated);
    static const CStr* MonthName(int16_t month, bool abbreviated);
    const CStr* GetDayName(bool abbreviated) const { return DayName(GetDayOfWeek(), abbreviated); }
    const CStr* GetMonthName(bool abbreviated) const { return MonthName(GetMonth(), abbreviated); }

    // Forgets the live-date count and the shared names and patterns, as if no date had ever
    // existed, so that a test starts clean whatever the one before left alive. The locale is
    // not written to: a calendar type the set-up switched stays as it is.
    static void ResetLocaleState();

private:
    // Counts the live dates; the first builds the shared locale state.
    static void InitLocale();
    // The last live date frees the shared locale state.
    static void ReleaseLocale();

    int32_t dayNumber_;
};
