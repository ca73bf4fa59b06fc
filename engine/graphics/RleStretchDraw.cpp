#include "engine/graphics/RleStretchDraw.h"

#include <array>
#include <cstring>

#include "engine/framework/Memory.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretch.h"
#include "engine/resources/TextRsrc.h"

namespace {

constexpr size_t kRemapSize = 256;

std::array<uint8_t, kRemapSize> BuiltInRemap()
{
    std::array<uint8_t, kRemapSize> table{};
    for (size_t i = 0; i < kRemapSize; ++i)
        table[i] = static_cast<uint8_t>(i + 1);
    return table;
}

std::array<uint8_t, kRemapSize> g_remap = BuiltInRemap();
uint8_t g_remapState = kRemapNotLoaded;

// Takes the table from the "civ" record once; the record is not required, so a missing one
// is no report, and a failure is never retried.
void LoadRemapTable()
{
    if (g_remapState != kRemapNotLoaded)
        return;
    g_remapState = kRemapFailed;
    std::unique_ptr<CTextRsrc> record = CTextRsrc::Create("civ", 1008, 0xFFFFFFFF, false);
    if (!record)
        return;
    const CMemoryLock locked(record.get());
    if (!locked.Data() || locked.Size() < kRemapSize)
        return;
    std::memcpy(g_remap.data(), locked.Data(), kRemapSize);
    g_remapState = kRemapLoaded;
}

// The row offsets the calling image set's cel list keeps for the cel, when the set is a
// run-length one over this very block.
const std::vector<uint32_t>* CelListOffsets(intptr_t caller, void* source, int32_t cel)
{
    const auto* set = dynamic_cast<CRleImgSet*>(reinterpret_cast<CImgSet*>(caller));
    const CCelList* cels = set ? set->GetCelList() : nullptr;
    if (!cels || cels->GetBlock() != source || !cels->GetRowOffsets())
        return nullptr;
    const CCelList::RowOffsets& all = *cels->GetRowOffsets();
    return cel >= 0 && static_cast<size_t>(cel) < all.size() ? &all[static_cast<size_t>(cel)] : nullptr;
}

RleDrawOptions ReadOptions(const DrawRecord& record)
{
    RleDrawOptions options;
    options.clip = reinterpret_cast<const CRect*>(record.params[1]);
    options.mirror = static_cast<uint8_t>(record.params[2]) != 0;
    const auto key = static_cast<uint8_t>(record.params[3]);
    options.transparent = key < 128 ? key : -1;
    options.priority = static_cast<uint8_t>(record.params[5]); // its low byte, 0 to 255
    return options;
}

// Draws with the source, the destination and the mask (when given) locked for the time of
// the draw; nothing when one of them yields no memory.
void LockedStretch(void* source, CDibSect* dest, const CRect& position, const DrawRecord& record,
                   RleDrawOptions options, CDibSect* mask, const RlePixelWriter& writer)
{
    auto* block = static_cast<CMemory*>(source);
    if (!block || !dest)
        return;
    const auto cel = static_cast<int16_t>(record.params[0]);
    const CMemoryLock locked(block);
    uint8_t* pixels = locked.Data() ? dest->LockBits() : nullptr;
    uint8_t* maskPixels = pixels && mask ? mask->LockBits() : nullptr;
    if (pixels && (!mask || maskPixels)) {
        const PixelRows maskRows = maskPixels ? mask->GetPixelRows() : PixelRows{};
        options.mask = maskPixels ? &maskRows : nullptr;
        const RleCelTable table(locked.Data(), locked.Size());
        DrawRleStretchedPixels(table, cel, CelListOffsets(record.params[6], source, cel),
                               dest->GetPixelRows(), position, options, writer);
    }
    if (maskPixels)
        mask->UnlockBits();
    if (pixels)
        dest->UnlockBits();
}

// The stretched draw with the record's priority mask.
void MaskedStretch(void* source, CDibSect* dest, const CRect& position, const DrawRecord* record,
                   const RlePixelWriter& writer)
{
    if (record)
        LockedStretch(source, dest, position, *record, ReadOptions(*record),
                      reinterpret_cast<CDibSect*>(record->params[4]), writer);
}

} // namespace

void DrawRleStretched(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    MaskedStretch(source, dest, position, record, RlePixelWriter{});
}

void DrawRleRemapped(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    LoadRemapTable();
    RlePixelWriter writer;
    writer.op = RlePixelOp::Remap;
    writer.remap = g_remap.data();
    MaskedStretch(source, dest, position, record, writer);
}

void DrawRleBlended(void* source, CDibSect* dest, const CRect& position, DrawRecord* record)
{
    CPalette* palette = GetPalette();
    if (!record || !palette)
        return;
    uint8_t* nearest = palette->LockNearestTable();
    if (!nearest)
        return;
    uint8_t colours[kRemapSize][3];
    for (size_t i = 0; i < kRemapSize; ++i)
        palette->GetEntry(static_cast<int32_t>(i), &colours[i][0], &colours[i][1], &colours[i][2]);
    RlePixelWriter writer;
    writer.op = RlePixelOp::Blend;
    writer.colours = colours;
    writer.nearest = nearest;
    // The blend has no priority mask.
    LockedStretch(source, dest, position, *record, ReadOptions(*record), nullptr, writer);
    palette->UnlockNearestTable();
}

const uint8_t* GetRemapTable() { return g_remap.data(); }

uint8_t GetRemapState() { return g_remapState; }

void ResetRemapTable()
{
    g_remap = BuiltInRemap();
    g_remapState = kRemapNotLoaded;
}
