#pragma once
// CDiary: the journey's diary, one growing text to which the game appends entries as things
// happen on the trail. Every line ends with CR LF. Entries 0-176 of string list 8900 are
// posted below a line with the trip's date, entries 177-276 without one. The saved-game
// document owns the diary and stores its text as record 1: the tag, a 32-bit length and the
// bytes, no terminator.
#include <cstdint>
#include <memory>

#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"

class CDoc;

class CDiary {
public:
    static constexpr int32_t kStringList = 8900;
    static constexpr int16_t kEntryCount = 277;
    static constexpr int16_t kLastDatedEntry = 176;
    static constexpr int16_t kRecordTag = 1;

    // An empty diary with string list 8900 from every library (none when it is missing).
    CDiary();

    // Appends the text (nothing for a null or empty one), then CR LF.
    void AppendLine(const CStr* text);
    const CStr& GetText() const { return text_; }
    void Clear() { text_.Empty(); }
    // Replaces the whole text (a loaded game, the guidebook's edits).
    void SetText(const CStr& text) { text_ = text; }

    // Posts entry n of the string list: entries 0-176 below a date line. A missing list,
    // an n outside the list or a missing or empty entry posts nothing.
    void PostString(int16_t n);
    // Posts a text made by the caller below a date line; an empty text posts nothing, a null
    // one is a fatal report.
    void PostDiary(std::unique_ptr<CStr> text);
    // Appends the trip's date in the long form with the day's name, when the trip has one.
    // Without the string list this is a fatal report.
    void PostDateHeading();

    // Record 1: the tag, then the text as a counted string.
    void Save(CDoc& doc) const;
    // Reads the counted string that follows tag 1 and takes it as the whole text, exactly
    // as stored.
    void Load(CDoc& doc);

private:
    CStr text_;
    std::unique_ptr<CTplRec> entries_;
};
