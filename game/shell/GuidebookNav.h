#pragma once
// Where the guidebook's previous and next buttons lead, and which page a spread starts on. A
// section's pages are numbered with its contents screens first: page p below the contents
// screen count is contents screen p, and from there on two content pages share a spread.
#include <cstdint>
#include <optional>

#include "game/shell/GuidebookContent.h"

struct GbkPlace {
    int32_t section = 0; // index into the content's sections
    int32_t page = 0;
    bool operator==(const GbkPlace&) const = default;
};

// The page a spread shown for `page` starts on: a content page whose distance from the
// contents screen count is odd is lowered by one.
int32_t SpreadStartPage(const GbkSection& section, int32_t page);

// The place the previous button leads to; none from the first page of the first section.
std::optional<GbkPlace> PreviousPlace(const GbkContent& content, GbkPlace at);

// The place the next button leads to; none from the last spread of the last section.
std::optional<GbkPlace> NextPlace(const GbkContent& content, GbkPlace at);

// The page of the master title list's entry `number` (the titles of every section's pages, in
// order): its section and its page number there, after the contents screens. None for a
// number before the first page or past the last section's pages.
std::optional<GbkPlace> PlaceOfMasterEntry(const GbkContent& content, int32_t number);
