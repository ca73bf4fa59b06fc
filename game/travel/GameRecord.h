#pragma once
// CGameRecord: one typed game record ("IVT", "FVT", "OCP", "PPL", "HLT", "HIL") as the
// libraries compile it. Compiled records are packed in machine byte order, so the game reads
// them one field at a time at the offsets its record layouts give, never by laying a
// structure over the bytes. A missing record, or a field past the record's end, reads as 0.
#include <cstdint>
#include <memory>

class CTextRsrc;

class CGameRecord {
public:
    // Loads record (type, id) from every library; a missing one (or id 0, the format) is no
    // error.
    CGameRecord(const char* type, int32_t id);
    ~CGameRecord();
    CGameRecord(const CGameRecord&) = delete;
    CGameRecord& operator=(const CGameRecord&) = delete;

    bool Exists() const { return record_ != nullptr; }
    // The compiled size in bytes (0 when missing).
    int32_t GetSize() const;
    int16_t Short(int32_t offset) const;
    int32_t Long(int32_t offset) const;

private:
    bool Read(void* out, int32_t size, int32_t offset) const;

    std::unique_ptr<CTextRsrc> record_;
};

// "HIL": a hill's value, the first 32-bit word of the record whose id it is made with; the
// difficulty in its high 16 bits, the advice flag in its low 16. A missing record gives 0.
class CHilRecord {
public:
    explicit CHilRecord(int32_t id);
    int32_t GetValue() const { return value_; }
    int16_t GetDifficulty() const { return static_cast<int16_t>(static_cast<uint32_t>(value_) >> 16); }
    int16_t GetAdviceFlag() const { return static_cast<int16_t>(static_cast<uint32_t>(value_) & 0xFFFFu); }

private:
    int32_t value_ = 0;
};
