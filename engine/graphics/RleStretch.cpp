#include "engine/graphics/RleStretch.h"

#include <algorithm>
#include <cstring>

#include "engine/graphics/Palette.h"
#include "engine/graphics/RleDrawParts.h"

namespace {

// One source row decoded: its colours, and which of its pixels are drawn (not transparent,
// and held by the data).
struct DecodedRow {
    explicit DecodedRow(int32_t width)
        : colours(static_cast<size_t>(width)), drawn(static_cast<size_t>(width))
    {
    }
    std::vector<uint8_t> colours;
    std::vector<uint8_t> drawn;
};

// Decodes one row of `width` pixels from `src`. Runs that pass the width are cut to it, and
// pixels the data end before stay undrawn.
void DecodeRow(const uint8_t* src, const uint8_t* end, int32_t width, int32_t transparent, DecodedRow& row)
{
    std::fill(row.drawn.begin(), row.drawn.end(), 0);
    rle::Run run;
    for (int32_t c = 0; c < width && rle::ReadRun(src, end, run); c += run.count) {
        const auto n = static_cast<size_t>(std::min(run.count, width - c));
        if (run.colours[0] == transparent)
            continue;
        uint8_t* out = row.colours.data() + c;
        if (run.repeat)
            std::memset(out, run.colours[0], n);
        else
            std::memcpy(out, run.colours, n);
        std::memset(row.drawn.data() + c, 1, n);
    }
}

// The destination columns a row writes, first .. first + sources.size() - 1, with the source
// column each shows.
struct ColumnMap {
    int32_t first = 0;
    std::vector<int32_t> sources;
};

// Lays the repeat counts of the w source columns out from the position's left edge (from its
// right edge, leftwards, when mirrored) and keeps the columns inside [areaLeft, areaRight).
// False when none is left.
bool MapColumns(const std::vector<uint32_t>& counts, int32_t w, int32_t left, int32_t width, bool mirror,
                int32_t areaLeft, int32_t areaRight, ColumnMap& map)
{
    std::vector<int32_t> byStep; // the source column of the k-th destination column drawn
    for (int32_t i = 0; i < w; ++i)
        byStep.insert(byStep.end(), counts[static_cast<size_t>(i)], i);
    const auto covered = static_cast<int32_t>(byStep.size());
    const int32_t start = mirror ? left + width - covered : left;
    const int32_t lo = std::max(start, areaLeft);
    const int32_t hi = std::min(start + covered, areaRight);
    if (lo >= hi)
        return false;
    map.first = lo;
    map.sources.resize(static_cast<size_t>(hi - lo));
    for (int32_t x = lo; x < hi; ++x) {
        const int32_t step = mirror ? left + width - 1 - x : x - left;
        map.sources[static_cast<size_t>(x - lo)] = byStep[static_cast<size_t>(step)];
    }
    return true;
}

// What one destination row needs besides the decoded source row.
struct RowTarget {
    uint8_t* dest;       // the first column of the map
    const uint8_t* mask; // the mask byte under it, when masked
    int16_t priority;
};

// Writes the decoded row onto one destination row through the writer: one routine per pixel
// operation and masking, so the inner loop tests only what it must.
template <RlePixelOp kOp, bool kMasked>
void WriteRow(const DecodedRow& row, const ColumnMap& map, const RowTarget& target,
              const RlePixelWriter& writer)
{
    const int32_t* sources = map.sources.data();
    const size_t count = map.sources.size();
    uint8_t* dest = target.dest;
    for (size_t i = 0; i < count; ++i) {
        const auto s = static_cast<size_t>(sources[i]);
        if (!row.drawn[s])
            continue;
        if (kMasked && target.mask[i] <= target.priority)
            continue;
        if constexpr (kOp == RlePixelOp::Copy) {
            dest[i] = row.colours[s];
        } else if constexpr (kOp == RlePixelOp::Remap) {
            dest[i] = writer.remap[dest[i]];
        } else {
            const uint8_t* a = writer.colours[row.colours[s]];
            const uint8_t* b = writer.colours[dest[i]];
            dest[i] = writer.nearest[CPalette::NearestTableIndex(static_cast<uint8_t>((a[0] + b[0]) / 2),
                                                                 static_cast<uint8_t>((a[1] + b[1]) / 2),
                                                                 static_cast<uint8_t>((a[2] + b[2]) / 2))];
        }
    }
}

using RowWriter = void (*)(const DecodedRow&, const ColumnMap&, const RowTarget&, const RlePixelWriter&);

template <RlePixelOp kOp> RowWriter PickMasked(bool masked)
{
    return masked ? &WriteRow<kOp, true> : &WriteRow<kOp, false>;
}

RowWriter PickRowWriter(RlePixelOp op, bool masked)
{
    switch (op) {
    case RlePixelOp::Remap: return PickMasked<RlePixelOp::Remap>(masked);
    case RlePixelOp::Blend: return PickMasked<RlePixelOp::Blend>(masked);
    case RlePixelOp::Copy: break;
    }
    return PickMasked<RlePixelOp::Copy>(masked);
}

bool WriterReady(const RlePixelWriter& writer)
{
    switch (writer.op) {
    case RlePixelOp::Remap: return writer.remap != nullptr;
    case RlePixelOp::Blend: return writer.colours && writer.nearest;
    case RlePixelOp::Copy: break;
    }
    return true;
}

// Where row j's runs start: its offset when it lies in the cel's data, else the data's end
// (the row is then empty).
const uint8_t* RowStart(const RleCelTable& table, const RleCel& cel, const std::vector<uint32_t>& offsets,
                        int32_t j)
{
    const uint32_t at = offsets[static_cast<size_t>(j)];
    const uint32_t end = cel.offset + cel.length;
    return table.Data() + (at >= cel.offset && at <= end ? at : end);
}

} // namespace

void BuildRepeatTable(int32_t n, int32_t m, std::vector<uint32_t>& counts)
{
    counts.assign(n > 0 ? static_cast<size_t>(n) + 1 : 0, 0);
    if (n < 1 || m < 1)
        return;
    if (n > m) { // shrink: exactly m sources are kept
        int32_t e = n - m;
        for (int32_t i = 0; i < n; ++i) {
            e += m;
            if (e >= n) {
                e -= n;
                counts[static_cast<size_t>(i)] = 1;
            }
        }
    } else if (n < m) { // grow: the walk may end on index n, which is never drawn
        int32_t e = m - n;
        size_t j = 0;
        for (int32_t k = 0; k < m; ++k) {
            e += n;
            ++counts[j];
            if (e >= m) {
                e -= m;
                ++j;
            }
        }
    } else {
        std::fill(counts.begin(), counts.end() - 1, 1);
    }
}

void DrawRleStretchedPixels(const RleCelTable& table, int32_t index, const std::vector<uint32_t>* rowOffsets,
                            const PixelRows& dest, const CRect& position, const RleDrawOptions& options,
                            const RlePixelWriter& writer)
{
    RleCel cel;
    if (!table.GetCel(index, cel) || cel.length == 0 || cel.height < 1 || cel.width < 1 || !dest.Valid() ||
        !WriterReady(writer))
        return;
    if (options.mask && !options.mask->Valid())
        return;
    const int32_t width = position.GetRight() - position.GetLeft();
    const int32_t height = position.GetBottom() - position.GetTop();
    const rle::Area area = rle::WritableArea(
        dest, options, {position.GetTop(), position.GetLeft(), position.GetBottom(), position.GetRight()});
    if (width <= 0 || height <= 0 || area.Empty())
        return;

    std::vector<uint32_t> rowCounts, columnCounts;
    BuildRepeatTable(cel.height, height, rowCounts);
    BuildRepeatTable(cel.width, width, columnCounts);
    ColumnMap columns;
    if (!MapColumns(columnCounts, cel.width, position.GetLeft(), width, options.mirror, area.left, area.right,
                    columns))
        return;
    std::vector<uint32_t> built;
    if (!rowOffsets || rowOffsets->size() != static_cast<size_t>(cel.height) + 1) {
        BuildRleRowOffsets(table, index, built);
        rowOffsets = &built;
    }

    const RowWriter writeRow = PickRowWriter(writer.op, options.mask != nullptr);
    const uint8_t* dataEnd = table.Data() + cel.offset + cel.length;
    DecodedRow row(cel.width);
    int32_t y = position.GetTop();
    for (int32_t j = 0; j < cel.height && y < area.bottom; ++j) {
        const auto repeats = static_cast<int32_t>(rowCounts[static_cast<size_t>(j)]);
        if (repeats == 0)
            continue; // a dropped row is never read
        if (y + repeats <= area.top) {
            y += repeats;
            continue;
        }
        DecodeRow(RowStart(table, cel, *rowOffsets, j), dataEnd, cel.width, options.transparent, row);
        for (int32_t r = 0; r < repeats && y < area.bottom; ++r, ++y) {
            if (y < area.top)
                continue;
            const RowTarget target{dest.Row(y) + columns.first,
                                   options.mask ? options.mask->Row(y) + columns.first : nullptr,
                                   options.priority};
            writeRow(row, columns, target, writer);
        }
    }
}
