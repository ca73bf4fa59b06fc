#pragma once
// Pictures of built screens, taken as qmscreen takes them: the palette and fonts of the open
// libraries, the window that shows what a template list built, shown headless, and its client
// area (with the platform's widgets on it) as an indexed picture. A program or test that drives
// a screen before taking its picture uses these steps one by one.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "tools/PngImage.h"

class CBaseObj;
class CPalette;
class CWind;

// "CLT" ID, or the lowest-numbered "CLT" of the libraries without one. Throws
// std::runtime_error when there is none.
std::unique_ptr<CPalette> LoadScreenPalette(std::optional<int32_t> id);
// The palette's 256 colours, as a picture's PNG palette.
std::vector<PngColor> PaletteColours(CPalette& palette);
// The fonts of "FTL" 128, or the default font alone.
void InitScreenFonts();
// The window that shows the built screen: the list's window, or a top-level one around the
// root. Answers null (and deletes what was built) when nothing was built.
std::unique_ptr<CWind> ShowingWindow(CBaseObj* built);
// Creates the window's native window, gives it the palette, shows it and paints it.
void ShowScreen(CWind& window, CPalette& palette);
// Dispatches every waiting window message: the window's and its widgets' paints.
void DispatchWaiting();
// The shown window's client area as it is now, in the palette's colours. Throws
// std::runtime_error when the window has no picture.
IndexedImage TakeScreen(CWind& window, CPalette& palette);
