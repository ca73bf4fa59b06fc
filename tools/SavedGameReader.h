#pragma once
// The reading side of qmsave: big-endian values taken from a saved game's bytes, each read
// refused when it would pass their end, and refusals as std::runtime_error.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qmsave {

[[noreturn]] inline void Refuse(const std::string& why) { throw std::runtime_error(why); }

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    size_t Pos() const { return pos_; }
    size_t Left() const { return bytes_.size() - pos_; }
    const uint8_t* Take(size_t n, const std::string& what)
    {
        if (n > Left())
            Refuse(what + " reaches past the end of the file");
        const uint8_t* at = bytes_.data() + pos_;
        pos_ += n;
        return at;
    }
    uint64_t Number(size_t n, const std::string& what)
    {
        const uint8_t* at = Take(n, what);
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i)
            v = v << 8 | at[i];
        return v;
    }
    uint8_t Byte(const std::string& what) { return *Take(1, what); }
    int16_t Short(const std::string& what) { return static_cast<int16_t>(Number(2, what)); }
    int32_t Long(const std::string& what) { return static_cast<int32_t>(Number(4, what)); }
    // The next 16-bit value without taking it; -1 when fewer than two bytes are left.
    int32_t PeekShort() const
    {
        return Left() < 2 ? -1 : static_cast<int16_t>(bytes_[pos_] << 8 | bytes_[pos_ + 1]);
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t pos_ = 0;
};

// Prints record 2, the travel module's state, from just after its tag: one line per part.
void ShowTravelRecord(Reader& in, std::ostream& out);

} // namespace qmsave
