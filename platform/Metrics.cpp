#include "platform/Metrics.h"

#include "platform/SystemInfo.h"

namespace plat {

Metrics GetMetrics()
{
    Metrics m;
    const DisplayCaps caps = GetDisplayCaps();
    m.screenWidth = caps.width;
    m.screenHeight = caps.height;
    return m;
}

Rgb GetSysColor(SysColor color)
{
    switch (color) {
    case SysColor::Desktop: return {0x00, 0x80, 0x80};
    case SysColor::ActiveCaption: return {0x00, 0x00, 0x80};
    case SysColor::InactiveCaption: return {0x80, 0x80, 0x80};
    case SysColor::CaptionText: return {0xFF, 0xFF, 0xFF};
    case SysColor::InactiveCaptionText: return {0xC0, 0xC0, 0xC0};
    case SysColor::Menu: return {0xC0, 0xC0, 0xC0};
    case SysColor::MenuText: return {0x00, 0x00, 0x00};
    case SysColor::Highlight: return {0x00, 0x00, 0x80};
    case SysColor::HighlightText: return {0xFF, 0xFF, 0xFF};
    case SysColor::GrayText: return {0x80, 0x80, 0x80};
    case SysColor::ButtonFace: return {0xC0, 0xC0, 0xC0};
    case SysColor::ButtonShadow: return {0x80, 0x80, 0x80};
    case SysColor::ButtonHighlight: return {0xFF, 0xFF, 0xFF};
    case SysColor::ButtonText: return {0x00, 0x00, 0x00};
    case SysColor::Window: return {0xFF, 0xFF, 0xFF};
    case SysColor::WindowText: return {0x00, 0x00, 0x00};
    case SysColor::WindowFrame: return {0x00, 0x00, 0x00};
    case SysColor::ScrollBar: return {0xC0, 0xC0, 0xC0};
    }
    return {};
}

} // namespace plat
