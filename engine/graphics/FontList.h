#pragma once
// The application's font list: the typed record "FTL" 128, a list of entries holding a font
// id, style flags, a face name and a point size each, from which the font table is built.
#include <cstdint>
#include <vector>

#include "engine/framework/Str.h"

class CTextRsrc;

// Style flags of a font-list entry.
enum : int16_t { kFontBold = 0x1, kFontItalic = 0x2, kFontUnderline = 0x4, kFontNarrow = 0x20 };

struct FontListEntry {
    int16_t id = 0;
    int16_t style = 0;
    CStr face;
    int16_t size = 0; // points
};
using FontList = std::vector<FontListEntry>;

// The entries of a compiled font-list record: after the list's count, groups of a number, a
// number, a string and a number. Reading stops at the count or at the first group of another
// shape.
FontList ReadFontList(CTextRsrc& record);
// Reads "FTL" 128 from the open libraries; false when there is none.
bool LoadFontList(FontList& out);
