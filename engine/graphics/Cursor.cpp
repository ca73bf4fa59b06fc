#include "engine/graphics/Cursor.h"

#include <algorithm>

#include "engine/resources/BigEndian.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcBlock.h"
#include "platform/Cursor.h"
#include "platform/Metrics.h"

namespace {

constexpr int kPictureSize = 16; // rows and columns of a stored cursor
constexpr int kPlaneBytes = 32;  // 16 rows of two bytes

plat::CursorHandle ArrowHandle() { return plat::GetStandardCursor(plat::StandardCursor::Arrow); }

} // namespace

CCursor::CCursor() : handle_(ArrowHandle()), id_(0), loaded_(1) {}

CCursor::CCursor(int32_t kind) : handle_(ArrowHandle()), id_(kind)
{
    if (kind < 0 || kind >= kStandardKinds)
        return;
    handle_ = plat::GetStandardCursor(static_cast<plat::StandardCursor>(kind));
    loaded_ = 1;
}

CCursor::CCursor(int32_t id, uint32_t libraryMask) : handle_(ArrowHandle()), id_(0)
{
    LoadResource(id, libraryMask);
}

CCursor::~CCursor()
{
    SetArrow();
    if (built_)
        plat::DestroyCursor(handle_);
}

void CCursor::Apply() { plat::SetCursor(handle_); }

void CCursor::SetArrow() { plat::SetCursor(ArrowHandle()); }

void CCursor::BuildPlanes(const uint8_t* image, const uint8_t* mask, int width, int height,
                          std::vector<uint8_t>& andPlane, std::vector<uint8_t>& xorPlane)
{
    const size_t rowBytes = static_cast<size_t>(std::max(width, 0) / 8);
    const size_t rows = static_cast<size_t>(std::max(height, 0));
    andPlane.assign(rowBytes * rows, 0xFF);
    xorPlane.assign(rowBytes * rows, 0x00);
    const size_t copyRows = std::min<size_t>(rows, kPictureSize);
    const size_t copyBytes = std::min<size_t>(rowBytes, kPictureSize / 8);
    for (size_t r = 0; r < copyRows; ++r) {
        for (size_t b = 0; b < copyBytes; ++b) {
            const uint8_t m = mask[r * 2 + b];
            const uint8_t i = image[r * 2 + b];
            andPlane[r * rowBytes + b] = static_cast<uint8_t>(~m);
            xorPlane[r * rowBytes + b] = static_cast<uint8_t>(i ^ m);
        }
    }
}

void CCursor::LoadResource(int32_t id, uint32_t libraryMask)
{
    std::unique_ptr<CRsrcBlock> block = GetLibMgr()->LoadResource("CRS", id, libraryMask, false);
    // A short resource holds no whole picture and hot spot: it counts as missing.
    if (!block || block->GetSize() < kResourceSize)
        return;
    uint8_t bytes[kResourceSize];
    if (!block->GetBytes(bytes, kResourceSize, 0))
        return;

    BigEndianReader hotSpot(bytes + 2 * kPlaneBytes, 4);
    int16_t v = 0;
    int16_t h = 0;
    hotSpot.ReadI16(v);
    hotSpot.ReadI16(h);

    const plat::Metrics metrics = plat::GetMetrics();
    std::vector<uint8_t> andPlane;
    std::vector<uint8_t> xorPlane;
    BuildPlanes(bytes, bytes + kPlaneBytes, metrics.cursorWidth, metrics.cursorHeight, andPlane, xorPlane);
    const plat::CursorHandle made =
        plat::CreateCursor({h, v}, metrics.cursorWidth, metrics.cursorHeight, andPlane, xorPlane);
    if (made == 0)
        return;
    handle_ = made;
    built_ = 1;
    id_ = id;
    loaded_ = 1;
}
