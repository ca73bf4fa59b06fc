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

// Entry index (1-based) of a table of names; nullopt outside it.
template <size_t N> std::optional<std::string> NameAt(const char* const (&names)[N], int index)
{
    if (index < 1 || static_cast<size_t>(index) > N)
        return std::nullopt;
    return names[index - 1];
}

} // namespace

std::optional<std::string> UsEnglishLocale::Get(LocaleValue value, int index) const
{
    switch (value) {
    case LocaleValue::CalendarType: return "1";
    case LocaleValue::MonthName: return NameAt(kMonths, index);
    case LocaleValue::AbbrevMonthName: return NameAt(kMonthsShort, index);
    case LocaleValue::DayName: return NameAt(kDays, index);
    case LocaleValue::AbbrevDayName: return NameAt(kDaysShort, index);
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

} // namespace plat
