#pragma once
// CSeqBrowseModule: module type 1, a 640 x 440 screen that shows the route map on its own and
// steps through it by key commands (message -3, through its button panel): '!', '@', '#' and
// ')' pick sequences 1, 2, 3 and 0, 'A' to 'W' entries 0 to 22 of the current sequence, 'u'
// raises the current entry's frame by one and 'r' reads the map data afresh. It draws the
// travel module's route map progress, so what it picks is what the travel screen shows next.
// Message 250 asks the game window to close it.
#include <cstdint>
#include <memory>

#include "game/base/Module.h"

class CBusyCursor;
class CButtonPanel;
class CRouteObj;
class CStopwatch;

class CSeqBrowseModule : public CFrameModule {
public:
    // The map's update period, in ticks.
    static constexpr uint32_t kPeriod = 30;
    static constexpr int32_t kMsgCommand = -3;
    static constexpr int32_t kMsgClose = 250;
    // A message the screen leaves to others.
    static constexpr int32_t kMsgPassed = 0xc9;

    explicit CSeqBrowseModule(const CRect& rect);
    ~CSeqBrowseModule() override;

    // Builds the screen: the route map, its stopwatch and timer.
    void OnAttach() override;
    // Steps the map.
    bool OnTimer() override;
    // The screen's background colour under the map.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void Suspend() override;
    void Resume() override;

    CRouteObj* GetRouteObj() const { return route_.get(); }
    CButtonPanel* GetButtonPanel() const { return panel_.get(); }
    bool IsCloseRequested() const { return closeRequested_; }
    bool ShowsBusyCursor() const { return busy_ != nullptr; }

private:
    void Command(int8_t code);
    // Reads the map afresh: a new route object in place of the old one.
    void Rebuild();

    std::unique_ptr<CButtonPanel> panel_;
    std::unique_ptr<CBusyCursor> busy_;
    bool closeRequested_ = false;
    std::unique_ptr<CRouteObj> route_;
    std::unique_ptr<CStopwatch> stopwatch_;
};
