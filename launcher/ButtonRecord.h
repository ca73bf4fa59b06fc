#pragma once
// The launcher's button record ("BTN" 1000): the menu window's title and the names another
// launcher's window is found by, where the items sit and how they look, the caption line and
// one entry per launch item. Its values are read in record order, so any format that yields
// them in this order serves.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CTextRsrc;

namespace tour {

struct ButtonEntry {
    std::string label;
    std::string command;
    std::string failure; // shown when the launch fails
    bool endsTour = false;
};

struct ButtonRecord {
    std::string title;                // field 0: the menu window's title
    std::string windowTitle;          // field 1: another launcher's window title
    std::string windowClass;          // field 2: its window class
    std::string borderTitle;          // field 3: the border window's title
    int32_t left = 0;                 // field 4
    int32_t top = 0;                  // field 5
    int32_t halfSpacing = 0;          // field 6: items lie 2 x this apart
    int32_t fontId = 0;               // field 7
    int32_t hoverColour = 0;          // field 8
    int32_t normalColour = 0;         // field 9
    std::string caption;              // field 10
    std::string extra;                // field 11, kept and not used
    std::vector<ButtonEntry> entries; // as many as the compiled list holds
};

// Where item i of a screen lies: from (left, top + 2 x halfSpacing x i), 350 pixels wide and
// as high as the item images' cel 0, or 20 pixels when there are none.
struct ItemPlace {
    int32_t left, top, right, bottom;
};
inline constexpr int32_t kItemWidth = 350;
inline constexpr int32_t kItemHeightWithoutImages = 20;
ItemPlace PlaceItem(const ButtonRecord& record, size_t index, std::optional<int32_t> celHeight);

// Reads the record's values (taking its strings); nothing when they do not have this shape.
std::optional<ButtonRecord> ReadButtonRecord(CTextRsrc& record);

} // namespace tour
