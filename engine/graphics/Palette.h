#pragma once
// CPalette: the engine's 256-colour palette. It is built from a "CLT" colour table: the
// table's colours are brightened and placed at indices 10-245 (or from 0 for tables of more
// than 236 colours), and the display's fixed colours always take indices 0-9 and 246-255.
// Beside the palette's own entries there is a 4096-entry table mapping any colour (by the
// high four bits of red, green and blue) to the nearest palette index; it is built on first
// use and shared by every copy of the palette.
//
// The palette's "handle" is its colour table; a palette owns it when it made it.
#include <cstdint>
#include <memory>

#include "platform/Surface.h"

class CMemory;

// A palette's entries as the drawing code selects them.
using PaletteHandle = plat::ColorTable*;

// Entry flag the engine gives every colour it places: the colour is never merged with an
// equal one already realised.
constexpr uint8_t kPcNoCollapse = 4;

class CPalette {
public:
    // An empty palette: no entries yet, nothing owned.
    CPalette();
    // Wraps entries that stay the caller's.
    explicit CPalette(PaletteHandle handle);
    // Shares the other palette's nearest-colour table and makes its own copy of the entries.
    CPalette(const CPalette& other);
    CPalette& operator=(const CPalette&) = delete;
    // Builds the palette from a colour table block, which the palette takes over and deletes.
    explicit CPalette(CMemory* block);
    // Builds the palette from the "CLT" resource of that id; a missing one is a fatal report
    // of the library manager.
    CPalette(int32_t id, uint32_t libraryMask);
    virtual ~CPalette();

    // Builds palette entries from a colour table of `size` bytes (none when null): byte 0 holds
    // the number of colours less one, then four bytes per colour (red, green, blue, unused).
    // Only the colours the bytes hold are used. The brightened values are written back into
    // the table. The caller owns the result.
    static PaletteHandle Create(uint8_t* table, int32_t size);
    // The brightening every table colour goes through: trunc(256 * (v / 256)^(5/7)).
    static uint8_t Brighten(uint8_t v);

    PaletteHandle GetHandle() const { return handle_; }
    // True once a colour table has been turned into the palette.
    bool IsValid() const { return built_; }
    bool OwnsHandle() const { return ownsHandle_; }

    // Entry (index & 255); zeros when the palette has no entries.
    void GetEntry(int32_t index, uint8_t* red, uint8_t* green, uint8_t* blue) const;
    // The nearest palette index by the 4096-entry table; 0 when the table cannot be made.
    uint8_t NearestIndex(uint8_t red, uint8_t green, uint8_t blue);
    // The 4096 indices, built when needed; the table stays locked until UnlockNearestTable.
    // Null when it cannot be made.
    uint8_t* LockNearestTable();
    void UnlockNearestTable();
    // The index of a colour in the 4096-entry table.
    static int32_t NearestTableIndex(uint8_t red, uint8_t green, uint8_t blue)
    {
        return ((red >> 4) << 8) | (green & 0xF0) | (blue >> 4);
    }

private:
    // Colour data shared by a palette and its copies.
    struct Shared {
        int32_t refCount = 1;
        std::unique_ptr<CMemory> nearest;
    };
    bool BuildFromBlock(CMemory* block);
    // Makes the nearest-colour table when there is none; false when it cannot be made.
    bool BuildNearestTable();
    void Release();

    bool built_ = false;
    bool ownsHandle_ = false;
    PaletteHandle handle_ = nullptr;
    Shared* shared_ = nullptr;
};

// The application's current palette; null before one is installed.
CPalette* GetPalette();
