// The guidebook's previous and next buttons and the spread a page belongs to.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "game/shell/GuidebookNav.h"

namespace {

GbkSection Section(int pages, int perScreen)
{
    GbkSection s;
    s.list1Items = static_cast<int16_t>(perScreen);
    s.pages.resize(static_cast<size_t>(pages));
    s.contentsScreens = ContentsScreenCount(pages, perScreen);
    return s;
}

// Follows one button from `from` until it leads nowhere.
std::vector<GbkPlace> Walk(const GbkContent& content, GbkPlace from, bool next)
{
    std::vector<GbkPlace> places{from};
    for (std::optional<GbkPlace> to = from; places.size() < 20;) {
        to = next ? NextPlace(content, *to) : PreviousPlace(content, *to);
        if (!to)
            break;
        places.push_back(*to);
    }
    return places;
}

TEST(GuidebookNav, ThreePagesAndOneContentsScreen)
{
    GbkContent book;
    book.sections = {Section(3, 6)};
    // The contents screen, the spread of pages 1 and 2, then page 3 alone; nothing past the ends.
    EXPECT_EQ(Walk(book, {0, 0}, true), (std::vector<GbkPlace>{{0, 0}, {0, 1}, {0, 3}}));
    EXPECT_EQ(Walk(book, {0, 3}, false), (std::vector<GbkPlace>{{0, 3}, {0, 1}, {0, 0}}));
    // A contents entry leads to page 2, shown as the spread from page 1.
    EXPECT_EQ(SpreadStartPage(book.sections[0], 2), 1);
    EXPECT_EQ(NextPlace(book, {0, 2}), (GbkPlace{0, 4}));
    EXPECT_EQ(SpreadStartPage(book.sections[0], 4), 3);
}

TEST(GuidebookNav, CrossesSections)
{
    GbkContent book;
    // Four pages on two contents screens, a diary without pages, two pages on one screen. The
    // spread of pages 3 and 4 is the first section's last (not an empty one after it).
    book.sections = {Section(4, 2), Section(0, 0), Section(2, 6)};
    EXPECT_EQ(Walk(book, {0, 0}, true),
              (std::vector<GbkPlace>{{0, 0}, {0, 1}, {0, 2}, {0, 4}, {1, 0}, {2, 0}, {2, 1}}));
    // Back into a section at its last page; the diary has page 0 only.
    EXPECT_EQ(Walk(book, {2, 1}, false),
              (std::vector<GbkPlace>{{2, 1}, {2, 0}, {1, 0}, {0, 5}, {0, 3}, {0, 1}, {0, 0}}));
    EXPECT_EQ(PreviousPlace(book, {0, 0}), std::nullopt);
    EXPECT_EQ(NextPlace(GbkContent{}, {0, 0}), std::nullopt);
}

TEST(GuidebookNav, SpreadsStartAnEvenDistanceFromTheContents)
{
    struct Case {
        int screens, page, start;
    };
    const Case cases[] = {{1, 0, 0}, {1, 1, 1}, {1, 2, 1}, {1, 3, 3}, {1, 4, 3},
                          {2, 1, 1}, {2, 2, 2}, {2, 3, 2}, {0, 0, 0}, {0, 1, 0}};
    for (const Case& k : cases) {
        GbkSection s;
        s.contentsScreens = k.screens;
        EXPECT_EQ(SpreadStartPage(s, k.page), k.start) << k.screens << " screens, page " << k.page;
    }
}

} // namespace

namespace {

TEST(GuidebookNav, MasterEntriesNameSectionsAndPages)
{
    GbkContent book;
    book.sections = {Section(3, 6), Section(0, 0), Section(4, 2)};
    struct Case {
        int number;
        std::optional<GbkPlace> place;
    };
    const Case cases[] = {{0, GbkPlace{0, 1}}, {2, GbkPlace{0, 3}}, {3, GbkPlace{2, 2}}, {6, GbkPlace{2, 5}},
                          {7, std::nullopt},   {-1, std::nullopt},  {1000, std::nullopt}};
    for (const Case& k : cases)
        EXPECT_EQ(PlaceOfMasterEntry(book, k.number), k.place) << "entry " << k.number;
}

} // namespace
