// Lays arbitrary text out in a scroll list, marked up or not, wrapped or not, in each
// justification, then scrolls through it and draws it. The first byte picks the settings, the
// second the list's width; the rest is the text.
// Run: fuzz_ScrollListFuzz fuzz/corpus/ScrollListFuzz
#include <cstdint>
#include <memory>
#include <string>

#include "engine/controls/text/ScrollList.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Platform.h"

namespace {

void SetUpOnce()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    plat::SetBackend(plat::Backend::Null);
    fuzz::CatchFatalReports();
    CDrawEnv::InitFonts(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpOnce();
    if (size < 2)
        return 0;
    const uint8_t settings = data[0];
    const auto width = static_cast<int16_t>(data[1]);
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    COffScEnv env;
    env.Init(CRect(0, 0, 64, 256), nullptr, false);
    CScrollList list(1, CRect(0, 0, 64, width),
                     std::make_unique<CStr>(text.c_str(), static_cast<int32_t>(text.size())), 0,
                     (settings & 0x01) != 0, false);
    list.SetWrap((settings & 0x02) != 0);
    list.SetMarkup((settings & 0x04) == 0);
    list.SetHJust((settings >> 3) & 0x3);
    list.SetVJust((settings >> 5) & 0x3);
    list.SetFlags(list.GetFlags() & ~CFrame::kFlagTransparent);
    list.Layout(&env);
    for (int16_t row = 0; row <= list.GetTotalRows(); row = static_cast<int16_t>(row + 3)) {
        list.ScrollTo(row, (settings & 0x80) != 0);
        list.DrawContent(&env, list.GetDrawnRect());
    }
    return 0;
}
