#pragma once
// CRsrcBlock: a memory block that also carries the resource type and id it was loaded as.
// Every resource the libraries load arrives as one, and compiled records derive from it.
#include <cstdint>

#include "engine/framework/Memory.h"

class CRsrcBlock : public CMemory {
public:
    // No type, id -1, no block.
    CRsrcBlock() = default;
    // A block of size bytes for the resource (type, id).
    CRsrcBlock(const char* type, int32_t id, int32_t size);
    // Copies the contents, the type and the id.
    CRsrcBlock(const CRsrcBlock& other) = default;
    CRsrcBlock& operator=(const CRsrcBlock&) = delete;
    ~CRsrcBlock() override = default;

    // The type as a zero-terminated text of up to 8 characters; empty when none.
    const char* GetType() const { return type_; }
    // Copies at most 8 characters and pads with zeros; null clears the type.
    void SetType(const char* type);
    int32_t GetId() const { return id_; }
    void SetId(int32_t id) { id_ = id; }

private:
    char type_[9] = {}; // 8 characters and a zero that is never overwritten
    int32_t id_ = -1;
};
