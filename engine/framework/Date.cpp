// CDate's calendar: day numbers, month lengths and date arithmetic.
#include "engine/framework/Date.h"

#include <algorithm>

#include "platform/Clock.h"

namespace {

constexpr int16_t kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Day numbers move through unsigned arithmetic so that moving far enough wraps instead of
// overflowing.
int32_t AddToDayNumber(int32_t dayNumber, int32_t n)
{
    return static_cast<int32_t>(static_cast<uint32_t>(dayNumber) + static_cast<uint32_t>(n));
}

} // namespace

CDate::CDate() : CDate(kFirstDay) {}

CDate::CDate(int32_t dayNumber)
{
    InitLocale();
    dayNumber_ = dayNumber;
}

CDate::CDate(int16_t year, int16_t month, int16_t day)
{
    InitLocale();
    const int32_t n = ToDayNumber(CDateFields{year, month, day});
    dayNumber_ = n == -1 ? kFirstDay : n;
}

CDate::CDate(const CDate& other)
{
    InitLocale();
    dayNumber_ = other.dayNumber_;
}

CDate::~CDate() { ReleaseLocale(); }

bool CDate::IsLeapYear(int16_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int16_t CDate::DaysInMonth(int16_t month, int16_t year)
{
    if (month < 1 || month > 12)
        return -1;
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kMonthLengths[month - 1];
}

int32_t CDate::ToDayNumber(const CDateFields& fields)
{
    if (fields.year < 1752 || fields.day < 1 || fields.day > DaysInMonth(fields.month, fields.year))
        return -1;
    // Years are counted from March, so that the leap day ends the year.
    int32_t year = fields.year;
    int32_t month = fields.month;
    if (month <= 2) {
        month += 9;
        --year;
    } else {
        month -= 3;
    }
    const int32_t c = year / 100;
    const int32_t a = year % 100;
    return (146097 * c) / 4 + (1461 * a) / 4 + (153 * month + 2) / 5 + fields.day + 1721119;
}

CDateFields& CDate::FromDayNumber(CDateFields& out, int32_t dayNumber)
{
    out = CDateFields{};
    if (dayNumber < kFirstDay)
        return out;
    // 64 bits: four times a large day number does not fit in 32.
    int64_t j = static_cast<int64_t>(dayNumber) - 1721119;
    const int64_t y = (4 * j - 1) / 146097;
    j = 4 * j - 1 - 146097 * y;
    int64_t d = j / 4;
    j = (4 * d + 3) / 1461;
    d = 4 * d + 3 - 1461 * j;
    d = (d + 4) / 4;
    const int64_t m = (5 * d - 3) / 153;
    d = 5 * d - 3 - 153 * m;
    int64_t year = 100 * y + j;
    int64_t month = m + 3;
    if (m >= 10) {
        month = m - 9;
        ++year;
    }
    out.year = static_cast<int16_t>(year);
    out.month = static_cast<int16_t>(month);
    out.day = static_cast<int16_t>((d + 5) / 5);
    return out;
}

std::unique_ptr<CDate> CDate::Today()
{
    const plat::WallTime now = plat::NowUtc();
    const CDateFields fields{static_cast<int16_t>(now.year), static_cast<int16_t>(now.month),
                             static_cast<int16_t>(now.day)};
    const int32_t n = ToDayNumber(fields);
    return std::make_unique<CDate>(n == -1 ? kFirstDay : n);
}

int16_t CDate::GetDayOfWeek() const
{
    // Day 2361222 is a Thursday (5); a floored remainder keeps any number in 1-7.
    const int64_t r = (static_cast<int64_t>(dayNumber_) + 1) % 7;
    return static_cast<int16_t>((r < 0 ? r + 7 : r) + 1);
}

int16_t CDate::GetDay() const
{
    CDateFields f;
    return FromDayNumber(f, dayNumber_).day;
}

int16_t CDate::GetMonth() const
{
    CDateFields f;
    return FromDayNumber(f, dayNumber_).month;
}

int16_t CDate::GetYear(bool lastTwoDigits) const
{
    CDateFields f;
    const int16_t year = FromDayNumber(f, dayNumber_).year;
    return lastTwoDigits ? static_cast<int16_t>(year % 100) : year;
}

CDate& CDate::AddDays(int16_t n)
{
    dayNumber_ = AddToDayNumber(dayNumber_, n);
    return *this;
}

CDate& CDate::operator-=(int16_t n)
{
    dayNumber_ = AddToDayNumber(dayNumber_, -static_cast<int32_t>(n));
    return *this;
}

CDate CDate::operator+(int16_t n) const { return CDate(AddToDayNumber(dayNumber_, n)); }

CDate CDate::operator-(int16_t n) const
{
    return CDate(AddToDayNumber(dayNumber_, -static_cast<int32_t>(n)));
}

bool CDate::AddMonths(int16_t n)
{
    CDateFields f;
    FromDayNumber(f, dayNumber_);
    // The month count is a 16-bit number, as the fields are.
    const auto t = static_cast<int16_t>(f.year * 12 + (f.month - 1) + n);
    CDateFields moved;
    moved.year = static_cast<int16_t>(t / 12);
    moved.month = static_cast<int16_t>(t % 12 + 1);
    moved.day = std::min(f.day, DaysInMonth(moved.month, moved.year));
    const int32_t d = ToDayNumber(moved);
    if (d < kFirstDay)
        return false;
    dayNumber_ = d;
    return true;
}

bool CDate::AddYears(int16_t n)
{
    CDateFields f;
    FromDayNumber(f, dayNumber_);
    f.year = static_cast<int16_t>(f.year + n);
    const int32_t d = ToDayNumber(f);
    if (d < kFirstDay)
        return false;
    dayNumber_ = d;
    return true;
}
