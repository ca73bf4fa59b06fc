#pragma once
// CCursor: one mouse cursor. Either a standard cursor chosen by a kind number (0 arrow,
// 1 I-beam, 2 cross, 3 wait, 4-7 the sizing arrows), or a monochrome 16 x 16 cursor stored
// as a "CRS" resource and built at the system's cursor size when it is loaded.
//
// A "CRS" resource is 68 bytes: 16 image rows of two bytes (1 = black), 16 mask rows of two
// bytes (1 = the pixel belongs to the cursor), then the hot spot as two big-endian signed
// 16-bit values, vertical first. The leftmost pixel of a row is the high bit of its first byte.
#include <cstdint>
#include <vector>

#include "platform/Window.h"

class CCursor {
public:
    static constexpr int32_t kStandardKinds = 8;
    static constexpr int32_t kResourceSize = 68;

    // The standard arrow, id 0.
    CCursor();
    // Standard cursor `kind` (0-7), id = kind. No cursor is defined for any other kind: the
    // object then shows the arrow and does not count as loaded.
    explicit CCursor(int32_t kind);
    // Cursor "CRS" `id` from the libraries. A resource that is missing or shorter than 68
    // bytes gives the arrow with id 0, not loaded.
    CCursor(int32_t id, uint32_t libraryMask);
    CCursor(const CCursor&) = delete;
    CCursor& operator=(const CCursor&) = delete;
    // Makes the arrow current and destroys a cursor that was built here; the standard
    // cursors are shared and stay.
    virtual ~CCursor();

    // Makes this cursor current on the screen.
    virtual void Apply();
    // Makes the standard arrow current.
    virtual void SetArrow();

    int32_t GetId() const { return id_; }
    bool IsLoaded() const { return loaded_ != 0; }
    plat::CursorHandle GetHandle() const { return handle_; }

    // The AND and XOR planes of a cursor `width` x `height` pixels (rows of width / 8 bytes)
    // built from the 64 plane bytes of a "CRS" resource; the picture lies in the top-left
    // corner and everything outside it is transparent.
    static void BuildPlanes(const uint8_t* image, const uint8_t* mask, int width, int height,
                            std::vector<uint8_t>& andPlane, std::vector<uint8_t>& xorPlane);

private:
    void LoadResource(int32_t id, uint32_t libraryMask);

    plat::CursorHandle handle_ = 0;
    int32_t id_ = 0;
    uint8_t loaded_ = 0;
    uint8_t built_ = 0; // the handle was made here and is destroyed with the object
};
