// The text clipboard. While the SDL display runs, text goes to and comes from the desktop's
// clipboard, converted between Windows-1252 and UTF-8; otherwise it stays in memory.
#include <SDL.h>

#include <string>

#include "platform/SdlBackend.h"
#include "platform/widgets/TextCodes.h"
#include "platform/widgets/Widgets.h"

namespace plat {
namespace {

std::string& MemoryClipboard()
{
    static std::string text;
    return text;
}

} // namespace

void SetClipboardText(std::string_view text)
{
    if (IsSdlDisplayRunning()) {
        SDL_SetClipboardText(Cp1252ToUtf8(text).c_str());
        return;
    }
    MemoryClipboard() = text;
}

std::string GetClipboardText()
{
    if (IsSdlDisplayRunning()) {
        char* utf8 = SDL_GetClipboardText();
        std::string text = utf8 ? Utf8ToCp1252(utf8) : std::string();
        SDL_free(utf8);
        return text;
    }
    return MemoryClipboard();
}

bool ClipboardHasText()
{
    if (IsSdlDisplayRunning())
        return SDL_HasClipboardText() == SDL_TRUE;
    return !MemoryClipboard().empty();
}

void ResetClipboard() { MemoryClipboard().clear(); }

} // namespace plat
