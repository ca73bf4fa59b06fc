#include "platform/Locale.h"

namespace plat {
namespace {

const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kMonthsShort[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Monday first, as the locale counts.
const char* const kDays[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const kDaysShort[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

UsEnglishLocale g_default;
LocaleProvider* g_locale = &g_default;

}  // namespace

std::optional<std::string> UsEnglishLocale::Get(LocaleValue value, int index) const
{
    switch (value) {
    case LocaleValue::CalendarType: return "1";
    case LocaleValue::MonthName:
        if (index >= 1 && index <= 12)
            return kMonths[index - 1];
        return std::nullopt;
    case LocaleValue::AbbrevMonthName:
        if (index >= 1 && index <= 12)
            return kMonthsShort[index - 1];
        return std::nullopt;
    case LocaleValue::DayName:
        if (index >= 1 && index <= 7)
            return kDays[index - 1];
        return std::nullopt;
    case LocaleValue::AbbrevDayName:
        if (index >= 1 && index <= 7)
            return kDaysShort[index - 1];
        return std::nullopt;
    case LocaleValue::ShortDateOrder: return "0";
    case LocaleValue::DateSeparator: return "/";
    case LocaleValue::LongDateOrder: return "0";
    case LocaleValue::LongDatePicture: return "dddd, MMMM dd, yyyy";
    }
    return std::nullopt;
}

bool UsEnglishLocale::Set(LocaleValue, const std::string&) { return true; }

std::optional<std::vector<std::string>> UsEnglishLocale::LongDatePictures() const
{
    return std::vector<std::string>{"dddd, MMMM dd, yyyy", "MMMM dd, yyyy"};
}

LocaleProvider& GetLocale() { return *g_locale; }
void SetLocale(LocaleProvider* provider) { g_locale = provider ? provider : &g_default; }
void ResetLocale()
{
    g_default = UsEnglishLocale{};
    g_locale = &g_default;
}

}  // namespace plat
