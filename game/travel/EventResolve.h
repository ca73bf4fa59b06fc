#pragma once
// CTripEvents: how a trip's route events are shown and resolved. Showing puts up the event's
// dialog over the travel screen (its title, a picture or a traveller's clip, a sound and up to
// eight choices, some of them disabled), or for a no-dialog event hands its clip to the
// travel screen; the choice pressed becomes the event's step and is resolved at once.
// Resolving applies the consequences of the step: morale, supplies, animals, injuries and
// illnesses, lost hours, waiting, and whether the event ends, comes back on the next run or
// is shown again. The display is in EventDisplay.cpp, the resolution in EventResolve.cpp.
//
// With --headless each announced event and each resolution is printed on the event log
// (SetEventLog): "event YYYY-MM-DD TYPE" and "resolve YYYY-MM-DD TYPE STEP STATE"; the travel
// module adds "arrive YYYY-MM-DD NODE" on each node reached and "scene YYYY-MM-DD ID" on each stop
// scene put up, so a script's log reads as the route travelled.
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <string>

#include "game/travel/EventQueue.h"

class CDate;
class CEventGen;
class CParty;
class CStr;
class CTrip;

class CTripEvents : public CEventHandler {
public:
    // String lists: event titles (entry = type), choice texts (entry = text number - 1),
    // result phrases, item names.
    static constexpr int32_t kTitleList = 600050;
    static constexpr int32_t kChoiceTextList = 600040;
    static constexpr int32_t kPhraseList = 600060;
    static constexpr int32_t kItemNameList = 600090;
    // Template lists: the picture dialog, the traveller's clip dialog and the result box.
    static constexpr int32_t kPictureDialog = 600200;
    static constexpr int32_t kVideoDialog = 600201;
    static constexpr int32_t kResultBox = 600600;
    // Dialog objects: title, choice buttons 6332-6339 (6340 the title too ends nothing), the
    // clip's place, the picture; the result box's title and text.
    static constexpr int32_t kTitleId = 6340;
    static constexpr int32_t kFirstChoiceId = 6332;
    static constexpr int32_t kLastStepControlId = 6340;
    static constexpr int32_t kClipPlaceId = 6341;
    static constexpr int32_t kPictureId = 8010;
    static constexpr int32_t kResultTitleId = 6410;
    static constexpr int32_t kResultTextId = 6420;
    // Colour of a choice that cannot be pressed.
    static constexpr int32_t kDisabledColour = 33;
    // Where a traveller's clip plays in the clip dialog.
    static constexpr int16_t kClipX = 396;
    static constexpr int16_t kClipY = 96;
    // A choice of this text number is not resolved.
    static constexpr int16_t kUnresolvedText = 4;
    // Messages to the travel screen.
    static constexpr int32_t kMsgEventClip = 340;
    static constexpr int32_t kMsgHunt = 145;
    static constexpr int32_t kMsgGather = 154;
    static constexpr int32_t kMsgDiscard = 406;
    static constexpr int32_t kMsgResetTrip = 3;
    static constexpr int32_t kCmdQuit = 252;
    static constexpr int32_t kCmdTrade = 305;
    // The trader of event trades: stock record 2, sound base 0.
    static constexpr int32_t kTradeStock = 2;

    explicit CTripEvents(CTrip& trip);

    // Shows the event (the dialog lets the player choose) and resolves the choice.
    void ShowEvent(CEventQueue& queue, CRouteEvent& event) override;
    // Applies the consequences of the event's step.
    void ResolveEvent(CEventQueue& queue, CRouteEvent& event) override;

    // The result box of template list 600600 over the top window: the event type's title and
    // the text, or without one "\n" and result phrase `phrase`.
    virtual void ShowResult(int16_t type, int16_t phrase, const CStr* text);

    CTrip& GetTrip() const { return trip_; }

    // Whether choice i has a text, its flag set and its required item held.
    static bool CanChoose(const CRouteEvent& event, int i, const CEventGen* gen);
    // The first choice that can be pressed (Enter's choice); 0 when none can.
    static int FirstChoice(const CRouteEvent& event, const CEventGen* gen);

protected:
    // Puts up the event's dialog and runs it; answers the id of the control that ended it.
    virtual int32_t RunDialog(CEventQueue& queue, CRouteEvent& event);

private:
    CTrip& trip_;
};

// Where --headless runs print the event and resolve lines; null (the default) prints nothing.
void SetEventLog(std::ostream* out);
// Prints "WORD YYYY-MM-DD V1 V2 ..." on the event log (zeros for a missing date); nothing
// without a log.
void WriteEventLogLine(const char* word, const CDate* date, std::initializer_list<int32_t> values);
