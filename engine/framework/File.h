#pragma once
// CFile: a thin wrapper over an open host file. Every operation leaves a 16-bit error code in
// the object and returns it, so callers test the result or GetError afterwards. Files are
// opened only when they exist; creating one is CFileSpec::Create.
#include <cstdint>

class CFileSpec;

class CFile {
public:
    // Error codes.
    static constexpr int16_t kOk = 0;
    static constexpr int16_t kNoPath = 1;     // the file spec given to the constructor has no path
    static constexpr int16_t kNotOpen = 3;    // no file is open
    static constexpr int16_t kOpenFailed = 4; // no spec, already open, no path, or not opened
    static constexpr int16_t kReadFailed = 6;
    static constexpr int16_t kShort = 7; // a read at the end, or a write that fell short
    static constexpr int16_t kWriteFailed = 8;
    static constexpr int16_t kSeekFailed = 9;

    // Access modes; any other value opens for reading.
    static constexpr int32_t kRead = 1;
    static constexpr int32_t kWrite = 2;
    static constexpr int32_t kReadWrite = 3;

    CFile() = default;
    CFile(const CFileSpec* spec, int32_t mode, uint8_t flag);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    virtual void Close();
    // Opens the file spec's file when no file is open yet; returns the error.
    virtual int16_t Open(const CFileSpec* spec, int32_t mode, uint8_t flag);
    // Reads count bytes (-1: the file's whole length) at position, or at the current position
    // when position is -1. A read that delivers nothing is error 7.
    virtual int16_t Read(void* buffer, int32_t count, int32_t position = -1);
    // Writes count bytes at position, or at the current position when position is -1.
    virtual int16_t Write(const void* buffer, int32_t count, int32_t position = -1);

    int16_t Seek(int32_t position);
    // The current position; -1 (error 3) when no file is open.
    int32_t GetPos();
    // The file's length; -1 (error 3) when no file is open.
    int32_t GetLength();
    // Moves the end of the file to length (to the current position when length is negative).
    // Returns 0, 1 when no file is open, or the system's error number.
    int16_t SetLength(int32_t length);

    int16_t GetError() const { return error_; }
    // The byte count of the last read or write (-1 before the first).
    int32_t GetTransferred() const { return transferred_; }
    uint8_t GetFlag() const { return flag_; }
    bool IsOpen() const { return fd_ >= 0; }

private:
    void OpenSpec(const CFileSpec& spec, int32_t mode, uint8_t flag);
    // Seeks to position when it is not -1; false (error 9) when that fails.
    bool SeekIfGiven(int32_t position);

    int32_t transferred_ = -1;
    int16_t error_ = kNotOpen;
    int fd_ = -1;
    uint8_t flag_ = 0;
};
