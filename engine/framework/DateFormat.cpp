// CDate's formatting: the shared month and day names and format patterns read from the
// locale while dates exist, and the expansion of a % pattern for one date.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/framework/Date.h"
#include "engine/framework/TplRec.h"
#include "platform/Locale.h"

namespace {

using plat::LocaleValue;

enum { kKinds = 6 };

struct DateLocale {
    int32_t liveDates = 0;
    // The calendar type the set-up found, when it had to switch it to Gregorian.
    bool calendarChanged = false;
    std::string savedCalendarType;
    std::array<std::unique_ptr<CStr>, 12> months, monthsAbbrev;
    std::array<std::unique_ptr<CStr>, 7> days, daysAbbrev; // index 0 = Sunday
    std::array<std::unique_ptr<CStr>, kKinds> formats;
};
DateLocale g_locale;

// The default long patterns and the word order the locale's own pictures are matched
// against, by the locale's long date order.
struct LongDefaults {
    const char* kinds[4];
    const char* words[3];
};
constexpr LongDefaults kLongDefaults[3] = {
    {{"%dddd, %mmmm %dd, %yyyy", "%mmmm %dd, %yyyy", "%ddd, %mmm %dd, %yyyy", "%mmm %dd, %yyyy"},
     {"MMMM", "dd", "yyyy"}},
    {{"%dddd, %dd %mmmm %yyyy", "%dd %mmmm %yyyy", "%ddd, %dd %mmm %yyyy", "%dd %mmm %yyyy"},
     {"dd", "MMMM", "yyyy"}},
    {{"%dddd, %yyyy %mmmm %dd", "%yyyy %mmmm, %dd", "%ddd, %yyyy %mmm %dd", "%yyyy %mmm %dd"},
     {"yyyy", "MMMM", "dd"}},
};

CStr& Kind(int kind) { return *g_locale.formats[static_cast<size_t>(kind)]; }

std::unique_ptr<CStr> NewText(const std::optional<std::string>& text)
{
    return std::make_unique<CStr>(text ? text->c_str() : "");
}

int32_t ReadNumber(const plat::LocaleProvider& locale, LocaleValue value)
{
    const std::optional<std::string> text = locale.Get(value);
    return text ? static_cast<int32_t>(std::strtol(text->c_str(), nullptr, 10)) : 0;
}

// Makes sure the calendar is a Gregorian one while dates exist, remembering what to put
// back. Only a provider that can write changes anything.
void SwitchToGregorian(plat::LocaleProvider& locale)
{
    const std::optional<std::string> type = locale.Get(LocaleValue::CalendarType);
    if (!type)
        return;
    const auto value = static_cast<int32_t>(std::strtol(type->c_str(), nullptr, 10));
    if (value == 1 || value == 2)
        return;
    if (locale.Set(LocaleValue::CalendarType, "1")) {
        g_locale.calendarChanged = true;
        g_locale.savedCalendarType = std::to_string(value);
    }
}

void InitNames(const plat::LocaleProvider& locale)
{
    for (int i = 1; i <= 12; ++i) {
        g_locale.months[static_cast<size_t>(i - 1)] = NewText(locale.Get(LocaleValue::MonthName, i));
        g_locale.monthsAbbrev[static_cast<size_t>(i - 1)] =
            NewText(locale.Get(LocaleValue::AbbrevMonthName, i));
    }
    // The locale counts from Monday (1) to Sunday (7); the dates count from Sunday.
    for (int i = 1; i <= 7; ++i) {
        g_locale.days[static_cast<size_t>(i % 7)] = NewText(locale.Get(LocaleValue::DayName, i));
        g_locale.daysAbbrev[static_cast<size_t>(i % 7)] = NewText(locale.Get(LocaleValue::AbbrevDayName, i));
    }
}

void InitShortFormats(const plat::LocaleProvider& locale)
{
    // At most five characters of the locale's separator; none gives "/".
    const std::string given = locale.Get(LocaleValue::DateSeparator).value_or("");
    const std::string s(given.empty() ? std::string_view("/") : std::string_view(given).substr(0, 5));
    std::string full, brief;
    switch (ReadNumber(locale, LocaleValue::ShortDateOrder)) {
    case 0:
        full = "%mm" + s + "%dd" + s + "%yyyy";
        brief = "%m" + s + "%d" + s + "%yy";
        break;
    case 1:
        full = "%dd" + s + "%mm" + s + "%yyyy";
        brief = "%d" + s + "%m" + s + "%yy";
        break;
    default:
        full = "%yyyy" + s + "%mm" + s + "%dd";
        brief = "%yy" + s + "%m" + s + "%d";
        break;
    }
    Kind(CDate::kShortFull) = CStr(full.c_str());
    Kind(CDate::kShort) = CStr(brief.c_str());
}

void ReplaceAll(CStr& text, const char* from, const char* to) { text.Replace(CStr(from), CStr(to)); }

int32_t IndexOf(const CStr& text, const char* what, int32_t from = 0)
{
    return text.FindNext(CStr(what), from);
}

void InsertPercentAt(CStr& text, int32_t index)
{
    if (index >= 0)
        text.Insert(CStr("%"), index);
}

// Puts a % in front of the first y of the text and in front of the first d behind the
// day-name token (or the first d of the text when there is none).
void MarkYearAndDay(CStr& text, const char* dayToken)
{
    InsertPercentAt(text, text.Find('y', 0));
    int32_t from = 0;
    if (dayToken) {
        const int32_t at = IndexOf(text, dayToken);
        from = at < 0 ? 0 : at + CStr(dayToken).GetLength();
    }
    InsertPercentAt(text, text.Find('d', from));
}

// The text without the day-name token and what follows it up to the next %, d, m or y.
CStr WithoutDayName(const CStr& text, const char* dayToken)
{
    CStr result(text);
    const int32_t at = IndexOf(result, dayToken);
    if (at < 0)
        return result;
    int32_t end = result.FindAnyOf(CStr("%dmy"), at + CStr(dayToken).GetLength());
    if (end < 0)
        end = result.GetLength();
    result.Delete(at, end - at);
    return result;
}

CStr Prefixed(const char* prefix, const CStr& text) { return CStr(prefix) + text; }

// The locale's picture "dddd" + word order gives the patterns with the day name.
void TakeFourWordPicture(const CStr& picture)
{
    CStr k0(picture);
    ReplaceAll(k0, "MMMM", "%mmmm");
    ReplaceAll(k0, "yyyy", "%yyyy");
    int32_t behind = 0;
    const int32_t at = k0.FindNext(CStr("dddd"), behind);
    InsertPercentAt(k0, at);
    // Searching from the last letter of the day name, the name itself is passed over.
    if (at >= 0)
        InsertPercentAt(k0, IndexOf(k0, "dd", behind));
    CStr k2(k0);
    ReplaceAll(k2, "%mmmm", "%mmm");
    ReplaceAll(k2, "%dddd", "%ddd");
    Kind(CDate::kLongWithDayName) = k0;
    Kind(CDate::kAbbrevWithDayName) = k2;
}

// The locale's picture made of the word order alone gives the patterns without it.
void TakeThreeWordPicture(const CStr& picture)
{
    CStr k1(picture);
    ReplaceAll(k1, "MMMM", "%mmmm");
    ReplaceAll(k1, "yyyy", "%yyyy");
    ReplaceAll(k1, "dd", "%dd");
    CStr k3(k1);
    ReplaceAll(k3, "%mmmm", "%mmm");
    Kind(CDate::kLong) = k1;
    Kind(CDate::kAbbrev) = k3;
}

bool MatchesWords(const CTplRec& words, int32_t first, const char* const order[3])
{
    for (int32_t i = 0; i < 3; ++i)
        if (!(*words.GetEntry(first + i) == CStr(order[i])))
            return false;
    return true;
}

void DeriveGlobalFormats(const CStr& picture);

void InitLongFormats(const plat::LocaleProvider& locale)
{
    const int32_t order = ReadNumber(locale, LocaleValue::LongDateOrder);
    const LongDefaults* defaults = order >= 0 && order <= 2 ? &kLongDefaults[order] : nullptr;
    if (defaults)
        for (int kind = 0; kind < 4; ++kind)
            Kind(kind) = CStr(defaults->kinds[kind]);

    const std::optional<std::vector<std::string>> pictures = locale.LongDatePictures();
    if (!pictures)
        return;
    CTplRec collected;
    for (const std::string& picture : *pictures)
        collected.Add(std::make_unique<CStr>(picture.c_str()));

    bool four = false, three = false;
    for (int32_t i = 0; defaults && i < collected.GetEntryCount() && !(four && three); ++i) {
        const CStr& picture = *collected.GetEntry(i);
        const std::unique_ptr<CTplRec> words = picture.SplitWords();
        const int32_t count = words ? words->GetEntryCount() : 0;
        if (!four && count == 4 && *words->GetEntry(0) == CStr("dddd") &&
            MatchesWords(*words, 1, defaults->words)) {
            TakeFourWordPicture(picture);
            four = true;
        } else if (!three && count == 3 && MatchesWords(*words, 0, defaults->words)) {
            TakeThreeWordPicture(picture);
            three = true;
        }
    }
    if (four && !three) {
        Kind(CDate::kLong) = WithoutDayName(Kind(CDate::kLongWithDayName), "%dddd");
        Kind(CDate::kAbbrev) = WithoutDayName(Kind(CDate::kAbbrevWithDayName), "%ddd");
    } else if (three && !four) {
        Kind(CDate::kLongWithDayName) = Prefixed("%dddd, ", Kind(CDate::kLong));
        Kind(CDate::kAbbrevWithDayName) = Prefixed("%ddd, ", Kind(CDate::kAbbrev));
    } else if (!four && !three) {
        if (const std::optional<std::string> picture = locale.Get(LocaleValue::LongDatePicture))
            DeriveGlobalFormats(CStr(picture->c_str()));
    }
}

// Builds the long patterns from the locale's one long date picture.
void DeriveGlobalFormats(const CStr& picture)
{
    CStr k0, k1, k2, k3;
    if (IndexOf(picture, "dddd") >= 0) {
        k0 = picture;
        InsertPercentAt(k0, IndexOf(k0, "dddd"));
        if (!k0.Replace(CStr("MMMM"), CStr("%mmmm")))
            ReplaceAll(k0, "MMM", "%mmm");
        MarkYearAndDay(k0, "%dddd");
        k2 = k0;
        ReplaceAll(k2, "%dddd", "%ddd");
        ReplaceAll(k2, "%mmmm", "%mmm");
        k1 = WithoutDayName(k0, "%dddd");
        k3 = k1;
        ReplaceAll(k3, "%mmmm", "%mmm");
    } else if (IndexOf(picture, "ddd") >= 0) {
        k2 = picture;
        InsertPercentAt(k2, IndexOf(k2, "ddd"));
        // With the abbreviated day name the abbreviated month fits, whichever the picture has.
        ReplaceAll(k2, "MMMM", "%mmm");
        ReplaceAll(k2, "MMM", "%mmm");
        MarkYearAndDay(k2, "%ddd");
        k0 = k2;
        ReplaceAll(k0, "%ddd", "%dddd");
        ReplaceAll(k0, "%mmm", "%mmmm");
        k3 = WithoutDayName(k2, "%ddd");
        k1 = k3;
        ReplaceAll(k1, "%mmm", "%mmmm");
    } else if (IndexOf(picture, "MMMM") >= 0) {
        k1 = picture;
        ReplaceAll(k1, "MMMM", "%mmmm");
        MarkYearAndDay(k1, nullptr);
        k3 = k1;
        ReplaceAll(k3, "%mmmm", "%mmm");
        k0 = Prefixed("%dddd, ", k1);
        k2 = Prefixed("%ddd, ", k3);
    } else if (IndexOf(picture, "MMM") >= 0) {
        k3 = picture;
        ReplaceAll(k3, "MMM", "%mmm");
        MarkYearAndDay(k3, nullptr);
        k1 = k3;
        ReplaceAll(k1, "%mmm", "%mmmm");
        k0 = Prefixed("%dddd, ", k1);
        k2 = Prefixed("%ddd, ", k3);
    } else {
        return;
    }
    Kind(CDate::kLongWithDayName) = k0;
    Kind(CDate::kLong) = k1;
    Kind(CDate::kAbbrevWithDayName) = k2;
    Kind(CDate::kAbbrev) = k3;
}

void SetUpLocale()
{
    plat::LocaleProvider& locale = plat::GetLocale();
    SwitchToGregorian(locale);
    InitNames(locale);
    for (auto& format : g_locale.formats)
        format = std::make_unique<CStr>();
    InitShortFormats(locale);
    InitLongFormats(locale);
}

void ReleaseShared()
{
    for (auto* names : {&g_locale.months, &g_locale.monthsAbbrev})
        for (auto& name : *names)
            name.reset();
    for (auto* names : {&g_locale.days, &g_locale.daysAbbrev})
        for (auto& name : *names)
            name.reset();
    for (auto& format : g_locale.formats)
        format.reset();
    if (g_locale.calendarChanged)
        plat::GetLocale().Set(LocaleValue::CalendarType, g_locale.savedCalendarType);
    g_locale.calendarChanged = false;
    g_locale.savedCalendarType.clear();
}

void AppendNumber(std::string& out, const char* format, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    out += text;
}

void AppendName(std::string& out, const CStr* name)
{
    if (name)
        out += name->GetText();
}

} // namespace

void CDate::InitLocale()
{
    if (g_locale.liveDates == 0)
        SetUpLocale();
    ++g_locale.liveDates;
}

void CDate::ReleaseLocale()
{
    // A date made before a reset may go after it; the count never falls below zero.
    if (g_locale.liveDates > 0 && --g_locale.liveDates == 0)
        ReleaseShared();
}

void CDate::ResetLocaleState() { g_locale = DateLocale(); }

const CStr* CDate::GetFormat(int32_t kind)
{
    if (kind < 0 || kind >= kKinds)
        return nullptr;
    return g_locale.formats[static_cast<size_t>(kind)].get();
}

const CStr* CDate::DayName(int16_t dayOfWeek, bool abbreviated)
{
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return nullptr;
    const auto& names = abbreviated ? g_locale.daysAbbrev : g_locale.days;
    return names[static_cast<size_t>(dayOfWeek - 1)].get();
}

const CStr* CDate::MonthName(int16_t month, bool abbreviated)
{
    if (month < 1 || month > 12)
        return nullptr;
    const auto& names = abbreviated ? g_locale.monthsAbbrev : g_locale.months;
    return names[static_cast<size_t>(month - 1)].get();
}

std::unique_ptr<CStr> CDate::Format(int32_t kind, const CStr* pattern) const
{
    if (kind >= 0 && kind < kKinds)
        return FormatWith(GetFormat(kind));
    if (kind == kPattern)
        return FormatWith(pattern);
    return std::make_unique<CStr>();
}

std::unique_ptr<CStr> CDate::FormatWith(const CStr* pattern) const
{
    if (!pattern)
        pattern = GetFormat(kLongWithDayName);
    if (!pattern)
        return std::make_unique<CStr>();
    // The text grows as needed, so long names never overrun it.
    const std::string_view p(pattern->GetText(), static_cast<size_t>(pattern->GetLength()));
    std::string out;
    size_t i = 0;
    while (i < p.size()) {
        if (p[i] != '%') {
            out += p[i++];
            continue;
        }
        if (i + 1 >= p.size())
            break; // a lone % at the end gives nothing
        const char field = p[i + 1];
        i += 2;
        if (field == '%') {
            out += '%';
            continue;
        }
        if (field != 'd' && field != 'm' && field != 'y')
            continue; // an unknown field letter is dropped with its %
        size_t run = 1;
        while (run < 5 && i < p.size() && p[i] == field) {
            ++run;
            ++i;
        }
        switch (field) {
        case 'd':
            if (run <= 2)
                AppendNumber(out, run == 1 ? "%d" : "%.2d", GetDay());
            else if (run <= 4)
                AppendName(out, GetDayName(run == 3));
            break;
        case 'm':
            if (run <= 2)
                AppendNumber(out, run == 1 ? "%d" : "%.2d", GetMonth());
            else if (run <= 4)
                AppendName(out, GetMonthName(run == 3));
            break;
        case 'y':
            if (run == 3)
                --i; // two letters make the year; the third is a plain letter again
            if (run <= 3)
                AppendNumber(out, run == 1 ? "%d" : "%.2d", GetYear(true));
            else if (run == 4)
                AppendNumber(out, "%d", GetYear(false));
            break;
        }
    }
    return std::make_unique<CStr>(out.c_str());
}
