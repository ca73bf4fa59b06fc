#pragma once
// The guidebook's content: one screen header, its sections and each section's pages, read from
// the definition text of record "GBK" 1.
#include <cstdint>
#include <memory>
#include <vector>

class CRsrcBlock;

struct GbkPage {
    int32_t strListId = 0;        // entry 0 heading, entry 1 text
    int32_t movieId = 0;          // kept; nothing plays it
    int32_t soundId = 0;          // 0: no sound button
    int32_t voiceId = 0;          // 0: no voice button
    std::vector<int32_t> pictIds; // the first is shown
};

struct GbkSection {
    // Section types.
    enum : int16_t { kContents = 0, kDiary = 1, kIndex = 2, kSingleText = 3 };

    int16_t id = 0;
    int16_t type = 0;
    int16_t tabH = 0, tabV = 0;
    int32_t tabImageId = 0; // 0 or less: no tab
    int16_t iconV = 0, iconH = 0;
    int16_t list1Top = 0, list1Left = 0, list1Items = 0;
    int16_t list2Top = 0, list2Left = 0, list2Items = 0;
    int16_t listHeight = 0, listWidth = 0, listFont = 0;
    int32_t normColor = 0, hiliteColor = 0;
    int32_t contentsStrListId = 0; // entry 0 heading; an index section's items follow
    int32_t iconPictId = 0;
    int32_t contentsScreens = 0;
    std::vector<GbkPage> pages;

    int32_t PageCount() const { return static_cast<int32_t>(pages.size()); }
    // Contents entries on one screen: both columns' rows.
    int32_t PerScreen() const { return int32_t{list1Items} + list2Items; }
};

struct GbkContent {
    int32_t backgroundImageId = 0;
    int32_t masterStrListId = 0; // one title per page, all sections in order
    int32_t screenTemplateId = 0;
    int32_t buttonSoundId = 0;
    int32_t moreStrListId = 0; // entry 0: the "more on next page" notice
    std::vector<GbkSection> sections;
};

// The number of contents screens that list `items` entries, perScreen to a screen: 0 when a
// screen holds no entries.
int32_t ContentsScreenCount(int32_t items, int32_t perScreen);

// Reads the content from definition text (the block stays the caller's). Text with no values
// gives no sections; a malformed value or a list without its closing -1 is a fatal report
// naming the record.
GbkContent ReadGuidebookContent(CRsrcBlock* text, uint32_t includeMask);

// The content of record "GBK" 1 from every library; no record gives no sections.
GbkContent LoadGuidebookContent();
