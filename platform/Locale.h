#pragma once
// The locale the date code reads its names and patterns from. The default is US English and
// lives only in this process; it accepts writes and ignores them, so no setting of the
// user's system is ever changed. Tests install a provider of their own.
#include <optional>
#include <string>
#include <vector>

namespace plat {

enum class LocaleValue {
    CalendarType,      // "1" Gregorian (localised), "2" Gregorian (US English), other numbers
    MonthName,         // index 1-12
    AbbrevMonthName,   // index 1-12
    DayName,           // index 1-7, Monday first
    AbbrevDayName,     // index 1-7, Monday first
    ShortDateOrder,    // "0" month-day-year, "1" day-month-year, "2" year-month-day
    DateSeparator,
    LongDateOrder,     // as ShortDateOrder
    LongDatePicture,   // such as "dddd, MMMM dd, yyyy"
};

class LocaleProvider {
public:
    virtual ~LocaleProvider() = default;
    // nullopt when the value cannot be read.
    virtual std::optional<std::string> Get(LocaleValue value, int index = 0) const = 0;
    // Returns false when the value cannot be written.
    virtual bool Set(LocaleValue value, const std::string& text) = 0;
    // Every long date picture the locale offers, in order; nullopt when listing fails.
    virtual std::optional<std::vector<std::string>> LongDatePictures() const = 0;
};

// US English with the Gregorian calendar; Set does nothing.
class UsEnglishLocale : public LocaleProvider {
public:
    std::optional<std::string> Get(LocaleValue value, int index = 0) const override;
    bool Set(LocaleValue value, const std::string& text) override;
    std::optional<std::vector<std::string>> LongDatePictures() const override;
};

LocaleProvider& GetLocale();
// Installs a provider (not owned); nullptr restores the default one.
void SetLocale(LocaleProvider* provider);
void ResetLocale();

}  // namespace plat
