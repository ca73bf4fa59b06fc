#pragma once
// CQM3Doc: the game in progress as a document, and its saved-game file. The document holds
// the game's name, the disc the game is on, the diary and the landmark flags; Save and Load
// write and read the file:
//
//   0   "VORT", "QMK3", version 0x0101, six zero bytes
//   16  the name: up to 31 characters, then zero bytes up to 32
//   48  the disc, signed 32-bit
//   52  records, each a 16-bit tag and its contents:
//         1  the diary (always, first)
//         2  the travel module's own state (when the travel module exists)
//         4  the landmark flags: a 16-bit count N (1-100), then N pairs of 32-bit id and
//            value (only when a flag is set)
//         3  the end (always, last)
//       A file may also hold record 0, the module manager's state, which is read but never
//       written.
//
// Every number is big-endian. A save goes to a temporary file that replaces the slot only
// when the whole game was written, so a failed save leaves the previous one as it was.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/framework/Doc.h"
#include "game/base/save/Diary.h"

class CQM3Doc : public CDoc {
public:
    static constexpr uint32_t kDocType = 0x514D4B33; // "QMK3"
    static constexpr uint16_t kVersion = 0x0101;
    static constexpr int32_t kNameOffset = 16;
    static constexpr int32_t kNameSize = 32;
    static constexpr int32_t kFlagCount = 100;
    // The string list of the game's messages.
    static constexpr int32_t kStringList = 100;
    // The string list whose entry n names the file that marks disc n.
    static constexpr int32_t kDiscNameList = 90;
    enum : int16_t { kTagModules = 0, kTagDiary = 1, kTagTravel = 2, kTagEnd = 3, kTagFlags = 4 };

    // True when the bytes begin with the header this game writes and reads.
    static bool IsSavedGameHeader(const uint8_t* bytes, size_t size);

    // A new game named `name`: disc 1, no flags, an empty diary.
    explicit CQM3Doc(const char* name);
    // A game to be loaded from the file: disc 0 until it is loaded, no flags, an empty diary
    // that the file's diary replaces.
    explicit CQM3Doc(std::unique_ptr<CFileSpec> spec);
    ~CQM3Doc() override;

    // Reads the file. 0 loaded; 1 the game's disc was given up (nothing shown); any other
    // code shows its message and drops the file spec, and a failure after the travel state
    // began to load starts the trip over.
    virtual int16_t Load();
    // Writes the file (the owner and text go to the save's file dialog, used only without a
    // file spec). 0 saved, 1 no file chosen; any other code shows its message and drops the
    // file spec, the slot keeping its previous game.
    virtual int16_t Save(plat::WindowHandle owner, const char* text);
    // True while Load runs: a trip reset then leaves deleting the document to whoever
    // started the load.
    bool IsLoading() const { return loading_; }

    int32_t GetDisc() const { return disc_; }
    void SetDisc(int32_t disc) { disc_ = disc; }
    // The saved game's name; null when it has none.
    const CStr* GetName() const { return name_.get(); }
    void SetName(std::unique_ptr<CStr> name) { name_ = std::move(name); }
    // Takes the file spec (null drops it); opens nothing.
    void SetFileSpec(std::unique_ptr<CFileSpec> spec) { ReplaceFileSpec(std::move(spec)); }
    CDiary* GetDiary() { return diary_.get(); }

    // Landmark flags: up to 100 id and value pairs, id 0 marking a free entry.
    void SetLMFlag(int32_t id, int32_t value);
    // The value of the flag, -1 when it is not set.
    int32_t GetLMFlag(int32_t id) const;
    void ClearLMFlag(int32_t id);
    bool HasLMFlags() const;

    // The message shown for an error code of Load or Save: the entry of string list 100,
    // or -1 for a code that shows none.
    static int32_t LoadMessageEntry(int16_t code);
    static int32_t SaveMessageEntry(int16_t code);

private:
    struct LMFlag {
        int32_t id = 0;
        int32_t value = 0;
    };

    int16_t ReadGame(bool& travelBegan);
    int16_t ReadRecords(bool& travelBegan);
    void WriteGame();
    void WriteName();
    void ReadName();
    void WriteFlags();
    void ReadFlags();
    void ReadModuleState();
    void ClearLMFlags();
    void Fail(int16_t code, int32_t entry);

    std::unique_ptr<CStr> name_;
    int32_t disc_;
    std::array<LMFlag, kFlagCount> flags_{};
    std::unique_ptr<CDiary> diary_;
    bool loading_ = false;
};

// Whether disc n can be switched to: 0 (no disc), or a disc whose marker file string list
// 90 names.
bool IsKnownDisc(int32_t disc);
