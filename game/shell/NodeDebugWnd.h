#pragma once
// CNodeDebugWnd: the debug window listing a route node's fields with their names, one line per
// field, for looking at the route data while the game runs; OK (-50) at the bottom right ends
// it, as in every debug window.
#include <cstdint>
#include <string>
#include <vector>

#include "game/shell/DebugInfoWnd.h"

class CRouteNode;

class CNodeDebugWnd : public CDebugInfoWnd {
public:
    static constexpr int16_t kWidth = 300;
    static constexpr int16_t kHeight = 460;

    explicit CNodeDebugWnd(const CRouteNode& node);

    // The window's lines, top to bottom.
    static std::vector<std::string> Lines(const CRouteNode& node);

    // The names the window prints: "" for an event or animal without one, "UNKNOWN" for a
    // route type and "INVALID" for a kind or landmark class outside their tables.
    static const char* EventName(int16_t type);
    static const char* FaunaName(int16_t id);
    static const char* RouteTypeName(int16_t type);
    static const char* KindName(int16_t kind);
    static const char* LmClassName(int16_t lmClass);
};
