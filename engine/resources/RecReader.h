#pragma once
// CRecReader: a string list read as the lines of a small table. Each entry is a line; text
// after '#' or ';' is a comment, and lines that hold nothing else are passed over. The game
// reads tables that are easier to write as lines than as typed records with it.
#include <cstdint>
#include <memory>

#include "engine/framework/TplRec.h"

class CStr;

class CRecReader : public CTplRec {
public:
    // Loads "STR" id from every library; a missing list is a fatal report.
    explicit CRecReader(int32_t id);
    // No lines yet: a caller that may find no list loads it with LoadTplRec.
    CRecReader() = default;

    // The next line that is not empty, from entry index on, without its leading spaces and
    // its comment and cut to n-1 characters; null when the entries are used up. Advances
    // index past the entries it read.
    std::unique_ptr<CStr> NextLine(int16_t& index, int16_t n) const;
    // The first 6 characters of entry i read as a number (decimal, or hexadecimal after
    // "0x"); -1 when there is no entry i or it is not a number.
    int32_t GetNumber(int16_t i) const;

    int16_t& ReadIndex() { return readIndex_; }

private:
    int16_t readIndex_ = 0;
};
