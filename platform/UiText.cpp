// The text of captions and menus. Until the glyph service is in place every character
// counts a fixed width and nothing is drawn.
#include "platform/WindowInternal.h"

namespace plat::detail {

int UiTextWidth(std::string_view text) { return static_cast<int>(text.size()) * 7; }
int UiTextHeight() { return 13; }
void DrawUiText(Surface&, int, int, std::string_view, uint8_t, const Rect&) {}

} // namespace plat::detail
