#include "engine/graphics/GraphicsHooks.h"

#include "engine/framework/ApplHooks.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/FontList.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/PrintEnv.h"

void InstallGraphicsHooks()
{
    ApplHooks& hooks = GetApplHooks();
    hooks.createPalette = [](int32_t id, uint32_t libraryMask) { return new CPalette(id, libraryMask); };
    hooks.isPaletteValid = [](CPalette* palette) { return palette && palette->IsValid(); };
    hooks.deletePalette = [](CPalette* palette) { delete palette; };
    // Without a font list the table holds the default font only.
    hooks.initFonts = [] {
        FontList list;
        CDrawEnv::InitFonts(LoadFontList(list) ? &list : nullptr);
    };
    hooks.deleteFonts = [] { CDrawEnv::DeleteFonts(); };
    SetPrintEnvFactory([](CPrinter& printer, uint8_t flag) -> std::unique_ptr<CPrintJobEnv> {
        return CPrintEnv::Create(printer, flag);
    });
}
