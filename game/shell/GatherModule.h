#pragma once
// CGatherModule (module type 3): the gathering screen. The travel screen opens it so that the
// party can gather wild plants by the trail. At start-up it draws up to four different plants
// from the gathering table ("GTR" 6000 + 10 x the route node's plants value + the season
// column) and shows them as pick buttons, each with a page, a take-or-leave marker and a
// count of the plants to take. The gather command adds what was taken to the supplies, times
// the travelling members (kind 1 as item 76, kind 2 as item 75); a plant of kind 0 among them
// spoils the gathering instead: it runs one of the route events 63-65 and the screen closes
// through an iris. Nothing of it is saved.
//
// The plant table ("PTP" 6000) gives each plant number 1-65 its kind (word n - 1) and its
// guidebook topic (word 64 + n, made even); string list 6001 its name (entry n).
#include <array>
#include <cstdint>
#include <memory>

#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "game/base/Module.h"

class CEventObj;
class CImageWnd;
class CImgBtnWnd;
class CTextFrame;
class CTplRec;
class CTravel;

class CGatherModule : public CFrameModule {
public:
    static constexpr int32_t kFrameId = 6000;
    // Resources: the screen's template list, the plant table, the plant names, and the first
    // gathering table (plants value 0, column 0).
    static constexpr int32_t kScreenList = 6000;
    static constexpr int32_t kPlantTable = 6000;
    static constexpr int32_t kPlantNames = 6001;
    static constexpr int32_t kGatherTableBase = 6000;
    static constexpr int kPickCount = 4;
    static constexpr int kEntryCount = 40;
    // Plant numbers 1-65 index the 130-word plant table.
    static constexpr int16_t kPlantCount = 65;
    static constexpr int kPlantTableWords = 130;

    // Messages of the screen's controls.
    static constexpr int32_t kMsgSelectPick = -38; // word 0: the pick number 1-4
    static constexpr int32_t kMsgTake = 316;
    static constexpr int32_t kMsgLeave = 315;
    static constexpr int32_t kMsgGuidebook = 314;
    static constexpr int32_t kMsgGather = 285;
    // What the module asks of the game window.
    static constexpr int32_t kMsgOpenModule = 102;
    static constexpr int32_t kMsgLeaveScreen = 101;
    static constexpr int32_t kMsgSwitchToGather = 154;
    static constexpr int32_t kGuidebookModule = 4;

    // Objects of the screen.
    static constexpr int32_t kPickButton = 6301; // 6301-6304
    static constexpr int32_t kPickPage = 6311;   // 6311-6314
    static constexpr int32_t kMarker = 6321;     // 6321-6324: frame 0 take, 1 leave
    static constexpr int32_t kCountImage = 6401; // its frame: the picks marked to take
    static constexpr int32_t kResultPanel = 6450;
    static constexpr int32_t kResultText = 6451;
    static constexpr int32_t kResultButton = 6452;

    // Kinds of plant.
    enum : int32_t { kKindSpoils = 0, kKindItem76 = 1, kKindItem75 = 2 };
    static constexpr int16_t kItemKind1 = 76;
    static constexpr int16_t kItemKind2 = 75;
    // The route events a spoiling plant brings, by a draw of 0-2.
    static constexpr int16_t kFirstSpoilEvent = 63;

    // One entry of a gathering table.
    struct Entry {
        int16_t picture = 0; // 0: an empty entry
        int16_t plant = 0;   // 1-65
        int16_t amount = 0;
        int16_t unused = 0;
    };
    struct Pick {
        int16_t entry = 0;
        int16_t amount = 0;
        CStr name;
        int32_t kind = 0;
        int16_t topic = 0;
        uint8_t decided = 0;
        uint8_t take = 0;
    };

    explicit CGatherModule(const CRect& rect);
    ~CGatherModule() override;

    // Draws the picks and builds the screen (once, after the frame is in the game window).
    void OnAttach() override;
    void Suspend() override;
    void Resume() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // Column 2 in months 3-5 and 9-11, column 1 in the others.
    static int16_t SeasonColumn(int16_t month);
    // An odd guidebook topic is rounded up to the next even number.
    static int16_t EvenTopic(int16_t topic) { return static_cast<int16_t>(topic + (topic & 1)); }

    int16_t GetSeasonColumn() const { return column_; }
    int16_t GetPlantsValue() const { return plants_; }
    // The gathering table that was read (6000 + 10 x plants + column).
    int32_t GetGatherTableId() const { return kGatherTableBase + 10 * plants_ + column_; }
    // The picks drawn: as many as the table has filled entries, at most four.
    int16_t GetPickCount() const { return pickCount_; }
    const Pick& GetPick(int i) const { return picks_[static_cast<size_t>(i)]; }
    int16_t GetSelection() const { return selection_; }
    int16_t GetKind1Total() const { return kind1Total_; }
    int16_t GetKind2Total() const { return kind2Total_; }
    bool HasGathered() const { return gathered_; }
    CFrame* GetScreen() const { return screen_; }

private:
    // The travel module, while this frame is in the game window; null otherwise.
    CTravel* TravelModule() const;
    void ReadPlantTable();
    void ReadGatherTable(int32_t id);
    void DrawPicks();
    void BuildScreen();
    void FindScreenObjects();
    void ShowState();
    void DeleteScreen();
    void ShowSelectedPage(bool shown);
    void Select(MsgWord pickNumber);
    void Mark(bool take);
    void Gather();
    void ShowResult();
    void Spoil();
    // Message `id` to the game window at once.
    void TellGameWindow(int32_t id, MsgWord param1, MsgWord param2);
    int32_t CountTaken() const;

    CFrame* screen_ = nullptr;
    std::array<CImgBtnWnd*, kPickCount> buttons_{};
    std::array<CFrame*, kPickCount> pages_{};
    std::array<CImageWnd*, kPickCount> markers_{};
    CImageWnd* countImage_ = nullptr;
    CFrame* resultPanel_ = nullptr;
    CTextFrame* resultText_ = nullptr;
    CFrame* resultButton_ = nullptr;

    int16_t selection_ = 0;
    std::array<Entry, kEntryCount> table_{};
    int16_t pickCount_ = 0;
    std::array<Pick, kPickCount> picks_{};
    std::array<int16_t, kPlantTableWords> plantTable_{};
    std::unique_ptr<CTplRec> plantNames_;
    uint8_t kind0_ = 0;
    int16_t kind1Total_ = 0;
    int16_t kind2Total_ = 0;
    // Set once a gather has added or posted anything: later gathers do nothing, and a
    // rebuilt screen shows the result again.
    bool gathered_ = false;
    CStr resultNames_;
    int16_t column_ = 1;
    int16_t plants_ = 0;
    // The close target the menu window had before this screen; given back when it goes.
    CEventObj* closeTargetBefore_ = nullptr;
};
