#pragma once
// CTplRec: the engine's ordered list of strings. String lists in the libraries ("STR"
// resources), the engine's message list and the lists that strings and dates hand out are
// all records of this kind. The record owns its entries.
//
// This is the list half of the record. Loading it from an "STR" resource belongs to the
// resource code, which fills a record through Add and SetId, so that this framework class
// never depends on the libraries.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/framework/Str.h"

class CTplRec {
public:
    CTplRec() = default;
    // Copies the other's entries and id (see CopyFrom).
    CTplRec(const CTplRec& other);
    CTplRec& operator=(const CTplRec&) = delete;
    virtual ~CTplRec();

    // Appends the entry; a null entry is ignored.
    virtual void Add(std::unique_ptr<CStr> entry);
    // Entry i, lent (not a copy); null when there is no entry i.
    virtual CStr* GetEntry(int32_t i) const;
    // A new copy of entry i; null when there is no entry i.
    virtual std::unique_ptr<CStr> GetEntryString(int32_t i) const;
    // The length of entry i, 0 when there is none.
    virtual int32_t GetEntryLength(int32_t i) const;
    // Inserts before entry i (before the first for a negative i); appends when i is not below
    // the count. A null entry is ignored.
    virtual void InsertAt(int32_t i, std::unique_ptr<CStr> entry);
    // The index of the first entry equal to s (case-sensitive); -1 when none or s is null.
    virtual int32_t FindEntry(const CStr* s) const;

    // Clears, then appends a copy of each of the other's entries and takes its id. An empty
    // other changes nothing, so this record keeps its entries and id.
    void CopyFrom(const CTplRec& other);
    // Destroys every entry and sets the id to -1; nothing when the record is already empty.
    void Clear();

    int32_t GetId() const { return id_; }
    // The "STR" resource id the record was loaded from (-1 when none); set by the loader.
    void SetId(int32_t id) { id_ = id; }
    int32_t GetEntryCount() const { return static_cast<int32_t>(entries_.size()); }
    // An estimate of the memory the record holds, for the resource cache's budget: 4 bytes
    // of index per entry, 56 for the record, and 8 plus the length for each entry.
    int32_t GetMemorySize() const;

private:
    std::vector<std::unique_ptr<CStr>> entries_;
    int32_t id_ = -1;
};
