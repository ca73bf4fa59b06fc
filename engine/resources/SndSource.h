#pragma once
#include <cstdint>

// The base of a sound data source identified by a resource id and a library mask. The sound
// stream implements it over a CDecodeStrm and fills in the format when it opens.
class CSndSource {
public:
    CSndSource(int32_t resourceId, uint32_t libraryMask);
    CSndSource(const CSndSource&) = delete;
    CSndSource& operator=(const CSndSource&) = delete;
    virtual ~CSndSource();

    // Up to count bytes into the buffer; count returns how many came. 1 at the end.
    virtual int16_t Read(uint8_t* buffer, int32_t& count) = 0;
    // Opens the sound resource in memory, or as a file stream when `streamed`; returns the
    // decoded length in bytes, or 0 when it cannot be opened.
    virtual int32_t Open(bool streamed) = 0;
    // Goes to a byte position; returns the position reached.
    virtual int32_t Seek(int32_t position) = 0;

    int32_t GetResourceId() const { return resourceId_; }
    uint32_t GetLibraryMask() const { return libraryMask_; }
    // The sound's default level, 0..255.
    int32_t GetLevel() const { return level_; }
    void SetLevel(int32_t level) { level_ = level; }
    // A value stored beside the level that nothing uses.
    int32_t GetSecondValue() const { return secondValue_; }
    int32_t GetSampleRate() const { return sampleRate_; }
    int16_t GetChannels() const { return channels_; }
    int16_t GetBitsPerSample() const { return bitsPerSample_; }
    // Whether the libraries hold the resource.
    bool IsFound() const { return found_; }

protected:
    int32_t secondValue_ = 0;
    int32_t level_ = 255;
    int32_t sampleRate_ = 0;
    int16_t channels_ = 0;
    int16_t bitsPerSample_ = 0;
    bool found_ = false;

private:
    int32_t resourceId_;
    uint32_t libraryMask_;
};
