#include "engine/graphics/RleSprite.h"

#include <algorithm>
#include <cstring>

#include "engine/graphics/RleDrawParts.h"

namespace {

int16_t Be16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>((p[0] << 8) | p[1])); }

uint32_t Be32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

using rle::ReadRun;
using rle::Run;

// Steps over one row of `width` pixels without drawing it; false when the data end.
bool SkipRow(const uint8_t*& src, const uint8_t* end, int width)
{
    Run run;
    for (int covered = 0; covered < width; covered += run.count)
        if (!ReadRun(src, end, run))
            return false;
    return true;
}

// 16 pixels, moved as one.
struct Block16 {
    uint8_t bytes[16];
};

inline Block16 Load16(const uint8_t* src)
{
    Block16 block;
    std::memcpy(&block, src, sizeof block);
    return block;
}

inline void Store16(uint8_t* dest, const Block16& block) { std::memcpy(dest, &block, sizeof block); }

// Every colour repeated 16 times, so that a repeat run loads its pattern in one move.
struct Splats {
    Block16 of[256];
};

constexpr Splats MakeSplats()
{
    Splats splats{};
    for (int colour = 0; colour < 256; ++colour)
        for (uint8_t& byte : splats.of[colour].bytes)
            byte = static_cast<uint8_t>(colour);
    return splats;
}

constexpr Splats kSplats = MakeSplats();

// Spans are moved inline rather than by memcpy and memset: most runs of a sprite are a few
// to a hundred pixels, and a library call costs more than the bytes it moves. Each size class
// takes fixed-size moves, which the compiler turns into plain (vector) loads and stores; the
// last move of a span overlaps the one before it instead of looping byte by byte.
template <typename Word> inline void CopyOverlapping(uint8_t* dest, const uint8_t* src, int n)
{
    Word head, tail;
    std::memcpy(&head, src, sizeof head);
    std::memcpy(&tail, src + n - static_cast<int>(sizeof tail), sizeof tail);
    std::memcpy(dest, &head, sizeof head);
    std::memcpy(dest + n - static_cast<int>(sizeof tail), &tail, sizeof tail);
}

inline void CopySpan(uint8_t* dest, const uint8_t* src, int n)
{
    if (n > 16) {
        for (int i = 0; i < n - 16; i += 16)
            std::memcpy(dest + i, src + i, 16);
        std::memcpy(dest + n - 16, src + n - 16, 16);
    } else if (n >= 8) {
        CopyOverlapping<uint64_t>(dest, src, n);
    } else if (n >= 4) {
        CopyOverlapping<uint32_t>(dest, src, n);
    } else if (n >= 2) {
        CopyOverlapping<uint16_t>(dest, src, n);
    } else {
        *dest = *src;
    }
}

inline void FillSpan(uint8_t* dest, uint8_t colour, int n)
{
    const uint8_t* pattern = kSplats.of[colour].bytes;
    if (n > 16) {
        for (int i = 0; i < n - 16; i += 16)
            std::memcpy(dest + i, pattern, 16);
        std::memcpy(dest + n - 16, pattern, 16);
    } else {
        CopySpan(dest, pattern, n);
    }
}

// Copies n bytes in reverse order: dest[j] = src[n - 1 - j]. Eight bytes at a time swapped
// end for end (one instruction), the last move overlapping the one before it as CopySpan's do.
template <typename Word> inline Word Reversed(Word w)
{
    if constexpr (sizeof(Word) == 8)
        return __builtin_bswap64(w);
    else if constexpr (sizeof(Word) == 4)
        return __builtin_bswap32(w);
    else
        return __builtin_bswap16(w);
}

template <typename Word> inline void MoveReversed(uint8_t* dest, const uint8_t* src)
{
    Word w;
    std::memcpy(&w, src, sizeof w);
    w = Reversed(w);
    std::memcpy(dest, &w, sizeof w);
}

template <typename Word> inline void CopyReversedOverlapping(uint8_t* dest, const uint8_t* src, int n)
{
    constexpr int kSize = static_cast<int>(sizeof(Word));
    MoveReversed<Word>(dest, src + n - kSize);
    MoveReversed<Word>(dest + n - kSize, src);
}

inline void CopyReversed(uint8_t* dest, const uint8_t* src, int n)
{
    if (n > 8) {
        for (int j = 0; j < n - 8; j += 8)
            MoveReversed<uint64_t>(dest + j, src + n - 8 - j);
        MoveReversed<uint64_t>(dest + n - 8, src);
    } else if (n >= 4) {
        CopyReversedOverlapping<uint32_t>(dest, src, n);
    } else if (n >= 2) {
        CopyReversedOverlapping<uint16_t>(dest, src, n);
    } else {
        *dest = *src;
    }
}

// What a row routine needs besides the run data.
struct RowJob {
    uint8_t* dest;       // destination pixel of cel column lo (the first column written)
    const uint8_t* mask; // the mask byte under it, when masked
    int width;
    int lo, hi; // the cel columns that may be written: lo <= c < hi
    int transparent;
    int priority;
};

// One routine per combination of transparency, column clipping, mirroring and masking, so
// that each inner loop tests only what it must. Returns false when the data end in the row.
template <bool kTransparent, bool kClipped, bool kMirrored, bool kMasked>
bool DrawRow(const uint8_t*& src, const uint8_t* end, const RowJob& job)
{
    Run run;
    for (int c = 0; c < job.width; c += run.count) {
        if (!ReadRun(src, end, run))
            return false;
        run.count = std::min(run.count, job.width - c); // what passes the row's end is not drawn
        if (kTransparent && run.colours[0] == job.transparent)
            continue;
        int from = c;
        int to = c + run.count;
        if constexpr (kClipped) {
            from = std::max(from, job.lo);
            to = std::min(to, job.hi);
        }
        if (from >= to)
            continue;
        if constexpr (!kMirrored && !kMasked) {
            if (run.repeat)
                FillSpan(job.dest + (from - job.lo), run.colours[0], to - from);
            else
                CopySpan(job.dest + (from - job.lo), run.colours + (from - c), to - from);
        } else if (!kMasked && run.repeat) {
            // Mirrored, a repeat still fills one span: columns to-1 .. from, left to right.
            FillSpan(job.dest + (job.lo - (to - 1)), run.colours[0], to - from);
        } else {
            for (int k = from; k < to; ++k) {
                const ptrdiff_t at = kMirrored ? job.lo - k : k - job.lo;
                if (kMasked && job.mask[at] <= job.priority)
                    continue;
                job.dest[at] = run.repeat ? run.colours[0] : run.colours[k - c];
            }
        }
    }
    return true;
}

// The plain draw (every pixel of every row written, nothing mirrored, clipped or masked) is
// the one a full-screen picture takes, so it has a faster way: runs are written straight into
// the row with whole 16-byte moves, which may pass a run's end by up to 15 pixels. The runs
// after it overwrite what passed, so this is done only where they surely will: on rows whose
// data cannot end early, and for runs with room for their moves before the row's end (the
// row's last runs are written exactly). Reading the runs is a chain (each control byte says
// where the next one lies), so the loop keeps the rest light: no library call, one move and
// no length test for a run of up to 16 pixels, nothing read again after a store.
constexpr int kMaxRun = 128;
constexpr int kWholeSlack = 15; // the most a run's whole moves pass its end
// The most bytes a row of `width` pixels may read: every run but the last covers at least one
// pixel with at most two bytes, and the last reads its control byte and up to kMaxRun bytes
// (a literal run's whole moves read no further than that).
inline ptrdiff_t RowReadBound(int width) { return 2 * static_cast<ptrdiff_t>(width) + 1 + kMaxRun; }

// Writes n (1-128) pixels of colour, and up to 15 pixels past them.
inline void FillWhole(uint8_t* dest, uint8_t colour, int n)
{
    const Block16 block = kSplats.of[colour];
    Store16(dest, block);
    for (int i = 16; i < n; i += 16)
        Store16(dest + i, block);
}

// Copies n (1-128) pixels, and up to 15 bytes past them.
inline void CopyWhole(uint8_t* dest, const uint8_t* src, int n)
{
    Store16(dest, Load16(src));
    for (int i = 16; i < n; i += 16)
        Store16(dest + i, Load16(src + i));
}

// Writes the run at `in` into a row with `room` pixels left at dest, with whole moves where
// they fit and else exactly, no more than `room` pixels; returns its pixel count and moves
// `in` past it.
inline int WriteRunNearEnd(const uint8_t*& in, uint8_t* dest, int room)
{
    const uint8_t control = in[0];
    if (control < 128) {
        const int n = control + 1;
        if (room >= n + kWholeSlack)
            FillWhole(dest, in[1], n);
        else
            FillSpan(dest, in[1], std::min(n, room));
        in += 2;
        return n;
    }
    const int n = control - 127;
    if (room >= n + kWholeSlack)
        CopyWhole(dest, in + 1, n);
    else
        CopySpan(dest, in + 1, std::min(n, room));
    in += 1 + n;
    return n;
}

bool DrawRowPlain(const uint8_t*& src, const uint8_t* end, const RowJob& job)
{
    const int width = job.width;
    if (end - src < RowReadBound(width))
        return DrawRow<false, false, false, false>(src, end, job);
    const uint8_t* in = src;
    uint8_t* const row = job.dest;
    uint8_t* out = row;
    if (width >= kMaxRun) {
        // Any run starting here or before has room for its whole moves.
        const uint8_t* const roomy = row + (width - kMaxRun);
        while (out <= roomy) {
            const uint8_t control = in[0];
            if (control < 128) {
                FillWhole(out, in[1], control + 1);
                out += control + 1;
                in += 2;
            } else {
                CopyWhole(out, in + 1, control - 127);
                out += control - 127;
                in += control - 126;
            }
        }
    }
    for (int c = static_cast<int>(out - row); c < width;)
        c += WriteRunNearEnd(in, row + c, width - c);
    src = in;
    return true;
}

// A whole row, unclipped and unmasked, written exactly (transparent runs leave what lies
// under them, so no move may pass a run's end). Like DrawRowPlain it reads the runs without
// checking each against the data's end where the row cannot end early; mirrored, a run of
// columns c .. c + n - 1 lands on the span from dest - (c + n - 1), its colours reversed.
template <bool kTransparent, bool kMirrored>
bool DrawRowExact(const uint8_t*& src, const uint8_t* end, const RowJob& job)
{
    const int width = job.width;
    if (end - src < RowReadBound(width))
        return DrawRow<kTransparent, false, kMirrored, false>(src, end, job);
    const uint8_t* in = src;
    for (int c = 0; c < width;) {
        const uint8_t control = in[0];
        const bool repeat = control < 128;
        const int count = repeat ? control + 1 : control - 127;
        const int n = std::min(count, width - c); // what passes the row's end is not drawn
        if (!kTransparent || in[1] != job.transparent) {
            uint8_t* const at = kMirrored ? job.dest - (c + n - 1) : job.dest + c;
            if (repeat)
                FillSpan(at, in[1], n);
            else if (kMirrored)
                CopyReversed(at, in + 1, n);
            else
                CopySpan(at, in + 1, n);
        }
        in += repeat ? 2 : 1 + count;
        c += count;
    }
    src = in;
    return true;
}

using RowRoutine = bool (*)(const uint8_t*&, const uint8_t*, const RowJob&);

template <bool kTransparent, bool kClipped, bool kMirrored> RowRoutine PickMasked(bool masked)
{
    return masked ? &DrawRow<kTransparent, kClipped, kMirrored, true>
                  : &DrawRow<kTransparent, kClipped, kMirrored, false>;
}

template <bool kTransparent, bool kClipped> RowRoutine PickMirrored(bool mirrored, bool masked)
{
    return mirrored ? PickMasked<kTransparent, kClipped, true>(masked)
                    : PickMasked<kTransparent, kClipped, false>(masked);
}

RowRoutine PickRoutine(bool transparent, bool clipped, bool mirrored, bool masked)
{
    if (transparent)
        return clipped ? PickMirrored<true, true>(mirrored, masked)
                       : PickMirrored<true, false>(mirrored, masked);
    return clipped ? PickMirrored<false, true>(mirrored, masked)
                   : PickMirrored<false, false>(mirrored, masked);
}

} // namespace

RleCelTable::RleCelTable(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0)
{
    if (size_ < kHeaderSize)
        return;
    const int32_t stored = std::max<int32_t>(Be16(data_), 0);
    const size_t fit = (size_ - kHeaderSize) / kEntrySize;
    count_ = static_cast<int16_t>(std::min<size_t>(static_cast<size_t>(stored), fit));
}

bool RleCelTable::GetCel(int32_t i, RleCel& cel) const
{
    if (i < 0 || i >= count_)
        return false;
    const uint8_t* entry = data_ + kHeaderSize + static_cast<size_t>(i) * kEntrySize;
    cel.height = Be16(entry);
    cel.width = Be16(entry + 2);
    cel.offset = Be32(entry + 4);
    cel.length = Be32(entry + 8);
    if (cel.height < 0 || cel.width < 0)
        return false;
    return cel.offset <= size_ && cel.length <= size_ - cel.offset;
}

bool BuildRleRowOffsets(const RleCelTable& table, int32_t index, std::vector<uint32_t>& offsets)
{
    offsets.clear();
    RleCel cel;
    if (!table.GetCel(index, cel))
        return false;
    offsets.reserve(static_cast<size_t>(cel.height) + 1);
    const uint8_t* start = table.Data();
    const uint8_t* src = start + cel.offset;
    const uint8_t* end = src + cel.length;
    offsets.push_back(cel.offset);
    for (int r = 0; r < cel.height; ++r) {
        if (!SkipRow(src, end, cel.width))
            src = end; // the rows left are empty, at the end of the data
        offsets.push_back(static_cast<uint32_t>(src - start));
    }
    return true;
}

void DrawRleCelPixels(const RleCelTable& table, int32_t index, const PixelRows& dest, int32_t top,
                      int32_t left, const RleDrawOptions& options)
{
    RleCel cel;
    if (!table.GetCel(index, cel) || !dest.Valid() || cel.length == 0)
        return;
    if (options.mask && !options.mask->Valid())
        return;
    const rle::Area area = rle::WritableArea(dest, options, {top, left, top + cel.height, left + cel.width});
    if (area.Empty())
        return;

    // The writable columns in cel column terms; mirrored, cel column c lands on
    // left + width - 1 - c.
    RowJob job{};
    job.width = cel.width;
    job.lo = options.mirror ? left + cel.width - area.right : area.left - left;
    job.hi = options.mirror ? left + cel.width - area.left : area.right - left;
    job.transparent = options.transparent;
    job.priority = options.priority;
    const bool clipped = job.lo > 0 || job.hi < cel.width;
    RowRoutine drawRow =
        PickRoutine(options.transparent >= 0, clipped, options.mirror, options.mask != nullptr);
    if (drawRow == &DrawRow<false, false, false, false>)
        drawRow = &DrawRowPlain;
    else if (drawRow == &DrawRow<true, false, false, false>)
        drawRow = &DrawRowExact<true, false>;
    else if (drawRow == &DrawRow<false, false, true, false>)
        drawRow = &DrawRowExact<false, true>;
    else if (drawRow == &DrawRow<true, false, true, false>)
        drawRow = &DrawRowExact<true, true>;
    // Where cel column lo lands: the first column written, inside the destination.
    const int32_t firstColumn = options.mirror ? left + cel.width - 1 - job.lo : left + job.lo;

    const uint8_t* src = table.Data() + cel.offset;
    const uint8_t* end = src + cel.length;
    for (int32_t r = 0; r < cel.height; ++r) {
        const int32_t y = top + r;
        if (y >= area.bottom)
            break;
        if (y < area.top) { // above the clip: only the control bytes are read
            if (!SkipRow(src, end, cel.width))
                break;
            continue;
        }
        job.dest = dest.Row(y) + firstColumn;
        job.mask = options.mask ? options.mask->Row(y) + firstColumn : nullptr;
        if (!drawRow(src, end, job))
            break;
    }
}
