#include "engine/framework/Util.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

// The C runtime's rand/srand generator: every replayed run depends on this exact sequence.
struct RandomState {
    uint32_t state = 1;
    bool seeded = false;
};
RandomState g_random;
CUtil::DrawSource g_drawSource;

int32_t NextDraw()
{
    g_random.state = g_random.state * 214013u + 2531011u;
    return static_cast<int32_t>((g_random.state >> 16) & 0x7FFF);
}

// Pi to ten significant digits, as the angle conversion has always used it.
constexpr double kDegreesToRadians = 3.141592654 / 180.0;
constexpr double kSnap = 0.0001;

double SnapToZero(double r) { return std::fabs(r) < kSnap ? 0.0 : r; }

} // namespace

double CUtil::SinDeg(double degrees) { return SnapToZero(std::sin(degrees * kDegreesToRadians)); }

double CUtil::CosDeg(double degrees) { return SnapToZero(std::cos(degrees * kDegreesToRadians)); }

int32_t CUtil::Random(int32_t lo, int32_t hi, int32_t n)
{
    const auto range = static_cast<int32_t>(static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo) + 1u);
    if (range <= 0)
        return lo;
    if (g_drawSource)
        return g_drawSource(lo, hi, n);
    if (!g_random.seeded)
        SetRandomSeed(static_cast<uint32_t>(std::time(nullptr)));
    // The count is a 16-bit number; a count below 1 would divide by zero, so it means one draw.
    auto draws = static_cast<int16_t>(n);
    if (draws < 1)
        draws = 1;
    int64_t sum = 0;
    for (int16_t i = 0; i < draws; ++i)
        sum += NextDraw() % range;
    return static_cast<int32_t>(lo + sum / draws);
}

void CUtil::SetRandomSeed(uint32_t seed)
{
    g_random.state = seed;
    g_random.seeded = true;
}

void CUtil::ResetRandom()
{
    g_random = RandomState{};
    g_drawSource = nullptr;
}

void CUtil::SetDrawSource(DrawSource source) { g_drawSource = std::move(source); }

double CUtil::RoundHalfUp(double x)
{
    const double f = std::floor(x);
    return x < f + 0.5 ? f : f + 1.0;
}

void CUtil::PickDistinct(int16_t lo, int16_t hi, int16_t count, int16_t* out)
{
    if (!out || hi < lo)
        return;
    // Asking for more numbers than the range holds would repeat numbers: cut the count.
    const int32_t range = hi - lo + 1;
    const int32_t wanted = count < range ? count : range;
    // Floyd's sampling: each j adds exactly one new number.
    int32_t k = 0;
    for (int32_t j = hi - wanted + 1; j <= hi; ++j) {
        auto r = static_cast<int16_t>(Random(lo, j, 1));
        if (std::find(out, out + k, r) != out + k)
            r = static_cast<int16_t>(j);
        out[k++] = r;
    }
}

void CUtil::MoveBytes(const void* source, void* destination, int32_t n)
{
    if (n > 0 && source && destination)
        std::memmove(destination, source, static_cast<size_t>(n));
}
