#pragma once
// CTripStatusModule: module type 2, the trip status screen the options panel opens. It builds
// its screen (template list 4020) and rates the journey so far in six panels, one every
// timer tick once the previous panel's narration has ended (a click cuts a narration
// short). A click after the panels either shows a picture saying the trail goes on, and the
// next click closes the screen with the start-over question, or, once the route is
// completed (node 189 on), shows a closing picture by the score, a final picture, the
// closing screen (template list 4025) and then starts a new trip. Nothing is saved.
#include <cstdint>
#include <memory>

#include "game/base/Module.h"
#include "game/base/SoundSlots.h"

class CBusyCursor;
class CTravel;

class CTripStatusModule : public CFrameModule {
public:
    static constexpr int32_t kScreenList = 4020;
    static constexpr int32_t kClosingList = 4025;
    // Panel n's marker, text and string list: these ids + n.
    static constexpr int32_t kMarkerBase = 500;
    static constexpr int32_t kTextBase = 510;
    static constexpr int32_t kStringListBase = 602009;
    // The element showing the closing pictures, and the object they replace.
    static constexpr int32_t kPictureElement = 520;
    static constexpr int32_t kPanelsObject = 521;
    static constexpr uint32_t kPeriod = 4;
    static constexpr uint16_t kFadeTime = 10;
    // The last step: the closing screen waits for the click that starts a new trip.
    static constexpr int16_t kLastStep = 9;

    explicit CTripStatusModule(const CRect& rect);
    ~CTripStatusModule() override;

    // Builds the screen and starts the panels' timer.
    void OnAttach() override;
    // Shows the next panel when the narration of the last one has ended.
    bool OnTimer() override;
    // A press cuts the narration short and, after the panels, moves on to the next picture.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void Suspend() override;
    void Resume() override;

    int16_t GetStep() const { return step_; }
    int16_t GetGoodPoints() const { return goodPoints_; }
    int16_t GetTroublePoints() const { return troublePoints_; }
    int16_t GetWantPoints() const { return wantPoints_; }
    SoundHandle GetNarration() const { return narration_; }
    CFrame* GetScreen() const { return screen_; }
    bool ShowsBusyCursor() const { return busy_ != nullptr; }

private:
    void BuildScreen(int32_t listId);
    void RemoveScreen(CBaseObj* sender);
    void ShowPanel(int16_t panel);
    void ShowPicture(int32_t imageId);
    void OnPress(CBaseObj* sender);
    bool IsRouteCompleted() const;
    static CTravel* Travel();

    CFrame* screen_ = nullptr;
    std::unique_ptr<CBusyCursor> busy_;
    SoundHandle narration_;
    int16_t step_ = 0;
    int16_t goodPoints_ = 0;
    int16_t troublePoints_ = 0;
    int16_t wantPoints_ = 0;
};
