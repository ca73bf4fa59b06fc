#include "engine/graphics/Palette.h"

#include <algorithm>
#include <cmath>

#include "engine/framework/Appl.h"
#include "engine/framework/Memory.h"
#include "engine/resources/LibMgr.h"
#include "platform/Color.h"
#include "platform/SystemInfo.h"

namespace {

// Tables of up to this many colours land at index 10, after the low fixed colours.
constexpr int32_t kMaxInsetColors = 236;
constexpr int32_t kInsetOffset = 10;
// The block is a little larger than the table, as the engine has always allocated it.
constexpr int32_t kNearestBlockSize = 4100;

// Number of colours a table of `size` bytes holds: what its count byte says, but no more
// than its bytes carry.
int32_t TableColorCount(const uint8_t* table, int32_t size)
{
    if (!table || size < 1)
        return 0;
    const int32_t claimed = table[0] + 1;
    const int32_t held = size >= 2 ? (size - 2) / 4 : 0;
    return std::min(claimed, held);
}

} // namespace

CPalette::CPalette() : shared_(new Shared) {}

CPalette::CPalette(PaletteHandle handle) : handle_(handle) {}

CPalette::CPalette(const CPalette& other)
    : built_(other.built_), ownsHandle_(other.ownsHandle_), shared_(other.shared_)
{
    if (shared_)
        ++shared_->refCount;
    if (other.handle_) {
        handle_ = new plat::ColorTable(*other.handle_);
        // The copy made these entries, so it frees them, whoever owns the source's.
        ownsHandle_ = true;
    }
}

CPalette::CPalette(CMemory* block) : ownsHandle_(true), shared_(new Shared)
{
    built_ = BuildFromBlock(block);
}

CPalette::CPalette(int32_t id, uint32_t libraryMask)
    : CPalette(GetLibMgr()->LoadResource("CLT", id, libraryMask, true).release())
{
}

CPalette::~CPalette() { Release(); }

void CPalette::Release()
{
    if (shared_ && --shared_->refCount < 1)
        delete shared_;
    shared_ = nullptr;
    if (ownsHandle_)
        delete handle_;
    handle_ = nullptr;
}

bool CPalette::BuildFromBlock(CMemory* block)
{
    if (!block) {
        handle_ = Create(nullptr, 0);
        return false;
    }
    auto* bytes = static_cast<uint8_t*>(block->Lock());
    handle_ = Create(bytes, bytes ? block->GetSize() : 0);
    if (bytes)
        block->Unlock();
    delete block;
    return true;
}

uint8_t CPalette::Brighten(uint8_t v) { return static_cast<uint8_t>(256.0 * std::pow(v / 256.0, 5.0 / 7.0)); }

PaletteHandle CPalette::Create(uint8_t* table, int32_t size)
{
    auto* entries = new plat::ColorTable{};
    const int32_t count = TableColorCount(table, size);
    const int32_t offset = count <= kMaxInsetColors ? kInsetOffset : 0;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* colour = table + 2 + 4 * i;
        for (int c = 0; c < 3; ++c)
            colour[c] = Brighten(colour[c]);
        (*entries)[static_cast<size_t>(i + offset)] =
            plat::Rgb{colour[0], colour[1], colour[2], kPcNoCollapse};
    }
    const bool paletteDevice = plat::GetDisplayCaps().paletteBased;
    for (int i = 0; i < 256; ++i) {
        if (!plat::IsSystemColorIndex(i))
            continue;
        if (paletteDevice)
            (*entries)[static_cast<size_t>(i)] = plat::SystemPaletteEntry(i);
        else
            (*entries)[static_cast<size_t>(i)] = i < 10 ? plat::Rgb{0, 0, 0, 0} : plat::Rgb{255, 255, 255, 0};
    }
    return entries;
}

void CPalette::GetEntry(int32_t index, uint8_t* red, uint8_t* green, uint8_t* blue) const
{
    plat::Rgb e{};
    if (handle_)
        e = (*handle_)[static_cast<size_t>(index & 255)];
    if (red)
        *red = e.r;
    if (green)
        *green = e.g;
    if (blue)
        *blue = e.b;
}

bool CPalette::BuildNearestTable()
{
    if (!shared_)
        shared_ = new Shared;
    if (shared_->nearest)
        return true;
    auto block = std::make_unique<CMemory>(kNearestBlockSize);
    auto* table = static_cast<uint8_t*>(block->Lock());
    if (!table)
        return false;
    const plat::ColorTable entries = handle_ ? *handle_ : plat::ColorTable{};
    for (int r4 = 0; r4 < 16; ++r4)
        for (int g4 = 0; g4 < 16; ++g4)
            for (int b4 = 0; b4 < 16; ++b4)
                table[(r4 << 8) | (g4 << 4) | b4] =
                    plat::NearestColorIndex(entries, static_cast<uint8_t>(r4 * 17),
                                            static_cast<uint8_t>(g4 * 17), static_cast<uint8_t>(b4 * 17));
    block->Unlock();
    shared_->nearest = std::move(block);
    return true;
}

uint8_t* CPalette::LockNearestTable()
{
    if (!BuildNearestTable())
        return nullptr;
    return static_cast<uint8_t*>(shared_->nearest->Lock());
}

void CPalette::UnlockNearestTable()
{
    if (shared_ && shared_->nearest)
        shared_->nearest->Unlock();
}

uint8_t CPalette::NearestIndex(uint8_t red, uint8_t green, uint8_t blue)
{
    const uint8_t* table = LockNearestTable();
    if (!table)
        return 0;
    const uint8_t index = table[NearestTableIndex(red, green, blue)];
    UnlockNearestTable();
    return index;
}

CPalette* GetPalette()
{
    auto* appl = dynamic_cast<CAppl*>(CBaseAppl::GetAppl());
    return appl ? appl->GetPalette() : nullptr;
}
