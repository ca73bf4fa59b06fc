#pragma once
// CTextRsrc: a typed record. Record (type, id) is definition text in the libraries; it is
// compiled against its type's record format (CFormatList) into a packed block of values in
// machine byte order, which callers lock and read at fixed offsets:
//
//   std::unique_ptr<CTextRsrc> rec = CTextRsrc::Create("NOD", 12, 0xFFFFFFFF, true);
//   int16_t miles;
//   rec->GetBytes(&miles, 2, 4);
//
// Packing: items of equal size lie back to back; whenever the item size changes, the run
// before is padded to a multiple of 4 bytes. "var" pads the current run; a "list" stores a
// 32-bit element count first.
//
// A string item keeps its 4-byte slot, as the offsets of every record depend on it; the slot
// holds a 32-bit handle of a string the record owns (0 for none). GetString reads it and
// TakeString hands it over to the caller, leaving 0 in the slot.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/resources/FormatList.h"
#include "engine/resources/RsrcBlock.h"

class CRawParser;
class CStr;

class CTextRsrc : public CRsrcBlock {
public:
    // One stored item of a compiled record, in record order.
    struct Item {
        int32_t offset;
        uint8_t code; // FormatCode; a list's count is stored as kFmtList
    };

    // The bytes an item takes in the record (a list's count takes 4).
    static int32_t GetItemSize(const Item& item);

    // The longest compiled record by default; a format that would make a longer one is a
    // fatal report. Real records are a few kilobytes.
    static constexpr int32_t kMaxRecordSize = 1024 * 1024;
    static void SetRecordSizeLimit(int32_t bytes);
    static int32_t GetRecordSizeLimit();
    // At most this many "list" and "sizelist" groups are open at once.
    static constexpr int kMaxOpenGroups = 19;

    // An empty record of the type: nothing compiled.
    explicit CTextRsrc(const char* type);
    // Loads and compiles record (type, id). A missing or empty record is a fatal report only
    // when it is required; otherwise the record stays uncompiled.
    CTextRsrc(const char* type, int32_t id, uint32_t mask, bool required);
    // Compiles the text of a block; the record takes its type and id.
    CTextRsrc(std::unique_ptr<CRsrcBlock> source, uint32_t includeMask);
    // A copy with its own copy of every string.
    CTextRsrc(const CTextRsrc& other);
    CTextRsrc& operator=(const CTextRsrc&) = delete;
    ~CTextRsrc() override;

    // A compiled record, or null when it is not (a missing record that is not required).
    static std::unique_ptr<CTextRsrc> Create(const char* type, int32_t id, uint32_t mask, bool required);

    bool IsCompiled() const { return compiled_; }
    bool HoldsStrings() const { return holdsStrings_; }
    const std::vector<Item>& GetItems() const { return items_; }

    // A number item read at its size (1, 2 or 4 bytes) as a signed value; 0 for other sizes.
    int32_t GetSignedNumber(const Item& item);

    // The string of the string item at offset; null when the slot holds none or is no string.
    const CStr* GetString(int32_t offset);
    // Hands the string of the string item at offset to the caller and stores 0 in its slot.
    std::unique_ptr<CStr> TakeString(int32_t offset);

protected:
    // Empties the record (its strings freed) and loads and compiles record id of its type.
    void Reload(int32_t id, uint32_t mask, bool required);

private:
    struct Group {
        size_t loopStart;        // format position of the group's first item
        int64_t remaining;       // "sizelist": elements still to compile
        int32_t countSlot;       // "list": offset of its count
        int32_t elementSize;     // -1 unset, -2 items of differing sizes
        uint8_t code;            // kFmtList or kFmtSizeList
        const char* elementText; // read position where the element began
        size_t elementBytes;     // record size where the element began
    };

    void LoadAndCompile(int32_t id, uint32_t mask, bool required);
    void Compile(CRsrcBlock* text, uint32_t includeMask);
    void CompileItem(uint8_t code, FormatCursor& format, CRawParser& parser);
    void EndGroup(std::vector<Group>& groups, FormatCursor& format, CRawParser& parser);
    void AlignTo(uint32_t size);
    void AppendBytes(const void* data, size_t n);
    void BumpCount(int32_t slot);
    int32_t FindStringItem(int32_t offset);

    const FormatBlock* format_ = nullptr;        // owned by CFormatList
    std::vector<uint8_t> record_;                // the record while it is compiled
    std::vector<std::unique_ptr<CStr>> strings_; // handle h is strings_[h - 1]
    std::vector<Item> items_;
    uint32_t runSize_ = 0;
    uint32_t runCount_ = 0;
    bool holdsStrings_ = false;
    bool compiled_ = false;
};
