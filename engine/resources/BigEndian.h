#pragma once
// Big-endian values in library files. Every multi-byte number read from outside data goes
// through BigEndianReader, which checks each read against the bytes that remain, so a short or
// corrupt file gives a failed read instead of a read past the end.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class BigEndianReader {
public:
    BigEndianReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    size_t Remaining() const { return size_ - pos_; }
    size_t Pos() const { return pos_; }

    bool ReadBytes(void* out, size_t n)
    {
        if (n > Remaining())
            return false;
        if (n)
            std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        return true;
    }
    bool ReadU16(uint16_t& out) { return ReadUnsigned(out); }
    bool ReadU32(uint32_t& out) { return ReadUnsigned(out); }
    bool ReadI16(int16_t& out)
    {
        uint16_t u = 0;
        if (!ReadUnsigned(u))
            return false;
        out = static_cast<int16_t>(u);
        return true;
    }
    bool ReadI32(int32_t& out)
    {
        uint32_t u = 0;
        if (!ReadUnsigned(u))
            return false;
        out = static_cast<int32_t>(u);
        return true;
    }

private:
    template <typename T> bool ReadUnsigned(T& out)
    {
        if (sizeof(T) > Remaining())
            return false;
        T value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value = static_cast<T>((value << 8) | data_[pos_ + i]);
        pos_ += sizeof(T);
        out = value;
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Writers for the same byte order: they append to a buffer or store at a place in it.
inline void PutBigEndian16(uint8_t* out, uint16_t v)
{
    out[0] = static_cast<uint8_t>(v >> 8);
    out[1] = static_cast<uint8_t>(v);
}
inline void PutBigEndian32(uint8_t* out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
inline void AppendBigEndian16(std::vector<uint8_t>& out, uint16_t v)
{
    out.resize(out.size() + 2);
    PutBigEndian16(out.data() + out.size() - 2, v);
}
inline void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t v)
{
    out.resize(out.size() + 4);
    PutBigEndian32(out.data() + out.size() - 4, v);
}
