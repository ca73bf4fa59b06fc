#pragma once
// CFont: one font of the engine's font table, under the 16-bit id that templates and text
// frames name, and the character map its text needs. Resource text is Mac OS Roman; before it
// is drawn, bytes from 128 up go through the font's map: 3 (typographic) for ordinary fonts,
// 2 (plain) for OEM fonts, none (0) for symbol and Shift-JIS fonts.
//
// CFontTable: the fonts, owned, found by id.
#include <cstdint>

#include "engine/framework/PtrArray.h"
#include "platform/Font.h"

// Character-map selectors.
enum : int32_t { kCharMapNone = 0, kCharMapPlain = 2, kCharMapTypographic = 3 };

constexpr uint8_t kShiftJisCharset = 128;

class CFont {
public:
    // Keeps the font (which may be null) and takes the character map from its character set.
    CFont(int16_t id, plat::FontHandle handle, int16_t size, int16_t style);
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    virtual ~CFont();

    int16_t GetId() const { return id_; }
    const plat::FontHandle& GetHandle() const { return handle_; }
    int16_t GetSize() const { return size_; }
    int16_t GetStyle() const { return style_; }
    int32_t GetCharMap() const { return charMap_; }

    // The character map a font of this character set needs.
    static int32_t CharMapFor(uint8_t charset);

private:
    int16_t id_;
    plat::FontHandle handle_;
    int16_t style_;
    int16_t size_;
    int32_t charMap_ = kCharMapTypographic;
};

class CFontTable {
public:
    CFontTable() = default;
    CFontTable(const CFontTable&) = delete;
    CFontTable& operator=(const CFontTable&) = delete;
    // Deletes every font.
    virtual ~CFontTable();

    // Takes the font over; false (and nothing taken) when the table holds it already.
    bool Add(CFont* font);
    // The first font with the id, or null.
    CFont* Find(int16_t id);
    CFont* GetAt(int32_t index);
    int32_t GetCount() const { return fonts_.GetCount(); }
    // The character map of the font with that id; kCharMapTypographic when there is none.
    int32_t GetCharMap(int16_t id);
    // Take the first matching font out of the table without deleting it; true when found.
    bool RemoveById(int16_t id);
    bool RemoveAt(int32_t index);

private:
    CPtrArray fonts_;
};

// The character map of an engine font: kCharMapNone when there is no font table.
int32_t GetFontCharMap(int16_t id);
