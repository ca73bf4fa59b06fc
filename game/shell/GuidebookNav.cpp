#include "game/shell/GuidebookNav.h"

namespace {

// The last page number of a section: its last content page after the contents screens.
int32_t LastPage(const GbkSection& section) { return section.PageCount() - 1 + section.contentsScreens; }

} // namespace

int32_t SpreadStartPage(const GbkSection& section, int32_t page)
{
    if (page > section.contentsScreens && (page - section.contentsScreens) % 2 != 0)
        return page - 1;
    return page;
}

std::optional<GbkPlace> PreviousPlace(const GbkContent& content, GbkPlace at)
{
    if (at.section <= 0 && at.page <= 0)
        return std::nullopt;
    const int32_t sectionCount = static_cast<int32_t>(content.sections.size());
    if (at.section < 0 || at.section >= sectionCount)
        return std::nullopt;
    const GbkSection& section = content.sections[static_cast<size_t>(at.section)];
    at.page -= at.page > section.contentsScreens ? 2 : 1;
    if (at.page >= 0)
        return at;
    if (at.section == 0)
        return std::nullopt;
    --at.section;
    at.page = LastPage(content.sections[static_cast<size_t>(at.section)]);
    if (at.page < 0)
        at.page = 0;
    return at;
}

std::optional<GbkPlace> NextPlace(const GbkContent& content, GbkPlace at)
{
    const int32_t sectionCount = static_cast<int32_t>(content.sections.size());
    if (at.section < 0 || at.section >= sectionCount)
        return std::nullopt;
    const GbkSection& section = content.sections[static_cast<size_t>(at.section)];
    at.page += at.page < section.contentsScreens ? 1 : 2;
    // The section ends when the new spread's left page lies past its last page. (Counting
    // from the page number alone, as pages + contents screens < page rounded up to even, is
    // the same test for an odd number of contents screens but leads one spread past the last
    // page for an even number.)
    if (SpreadStartPage(section, at.page) - section.contentsScreens < section.PageCount())
        return at;
    if (at.section + 1 >= sectionCount)
        return std::nullopt;
    return GbkPlace{at.section + 1, 0};
}

std::optional<GbkPlace> PlaceOfMasterEntry(const GbkContent& content, int32_t number)
{
    if (number < 0)
        return std::nullopt;
    for (size_t i = 0; i < content.sections.size(); ++i) {
        const GbkSection& section = content.sections[i];
        if (number < section.PageCount())
            return GbkPlace{static_cast<int32_t>(i), number + section.contentsScreens};
        number -= section.PageCount();
    }
    return std::nullopt;
}
