#pragma once
#include <cstdint>

// The base of a sound data source identified by a resource id and a library mask. The sound
// stream implements it over a CDecodeStrm.
class CSndSource {
public:
    CSndSource(int32_t resourceId, uint32_t libraryMask);
    CSndSource(const CSndSource&) = delete;
    CSndSource& operator=(const CSndSource&) = delete;
    virtual ~CSndSource();

    // Up to count samples into the buffer; count returns how many came. 1 at the end.
    virtual int16_t Read(uint8_t* buffer, int32_t& count) = 0;
    // Opens the sound resource in memory, or as a file stream when `streamed`.
    virtual int16_t Open(bool streamed) = 0;
    // Goes to a sample position; returns the position reached.
    virtual int32_t Seek(int32_t position) = 0;

    int32_t GetResourceId() const { return resourceId_; }
    uint32_t GetLibraryMask() const { return libraryMask_; }
    uint8_t GetLevel() const { return level_; }
    void SetLevel(uint8_t level) { level_ = level; }

private:
    int32_t resourceId_;
    uint32_t libraryMask_;
    uint8_t level_ = 255;
};
