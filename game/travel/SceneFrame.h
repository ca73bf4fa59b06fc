#pragma once
// CRouteSceneFrm: the stop scene, shown over the travel screen while the party stands at a
// stop (a hill, a river, a landmark). It is built from the template list whose id is the
// scene id (the travel module's landmark id) and answers the scene's buttons: leave the stop
// (280, 282, also the end of an outcome video), visit the landmark (307) and rest some days
// (347). The first scene of a trip (20100) asks the player to name the party first.
//
// The frame lives in the travel screen from the first stop on; each later stop gives it a
// new scene id and builds it again (OnAttach). A river crossing or hill choice leaves a
// pending outcome behind, which turns into the route events of that outcome when the scene
// is left or the travel module resumes.
#include <cstdint>

#include "engine/controls/Frame.h"
#include "game/travel/SceneChoices.h"

class CTravel;

class CRouteSceneFrm : public CFrame {
public:
    static constexpr int32_t kFrameId = 935;
    // The scene that opens the trail: the party is named there.
    static constexpr int32_t kNamingScene = 20100;
    static constexpr int32_t kNamingDialog = 915;
    // Its OK button (the dialog's default button).
    static constexpr int32_t kNamingOk = 9159;
    // The names the naming dialog offers the companions, entry id - 1 for person id.
    static constexpr int32_t kTrailNames = 30006;
    // Shown on a fork only to a player who holds a post, or beyond the fork's early nodes.
    static constexpr int32_t kForkObject = 7111;
    static constexpr int16_t kForkNodeLimit = 169;
    // Messages the scene's buttons send.
    static constexpr int32_t kMsgLeave = 280;
    static constexpr int32_t kMsgLeaveNow = 282;
    static constexpr int32_t kMsgVisit = 307;
    static constexpr int32_t kMsgRest = 347;
    // What the scene sends the travel screen when it is left: go on to the next node.
    static constexpr int32_t kMsgContinue = 344;

    CRouteSceneFrm(int32_t id, const CRect& rect, int32_t sceneId, CTravel& travel);
    ~CRouteSceneFrm() override;

    // Registers the scene as a live object once it has an owner, so its buttons reach it.
    void SetOwner(CBaseObj* owner) override;
    // Builds the scene anew (the build of a stop).
    void OnAttach() override;
    // Every message is the scene's.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    void SetSceneId(int32_t id) { sceneId_ = id; }
    int32_t GetSceneId() const { return sceneId_; }
    // The pending outcome (0: none); a crossing's result is handed in from outside.
    void SetOutcome(int32_t outcome) { outcome_ = outcome; }
    int32_t GetOutcome() const { return outcome_; }
    // Turns the pending outcome into its route events and clears it.
    void ApplyOutcome();

    CFrame* GetContent() const { return content_; }
    bool IsClosed() const { return closed_ != 0; }
    bool NamesAsked() const { return namesAsked_ != 0; }
    // A new trip's party has not been named yet: the first scene asks again.
    void ForgetNamesAsked() { namesAsked_ = 0; }

private:
    void DeleteContent();
    // Disables the scene's buttons, the frame itself staying enabled.
    void DisableScene();
    void HideForkObject();
    void AskNames();
    void Leave();
    // A leave this frame sent itself (a clip's timed leave) carries the build it was sent in:
    // one from an earlier build, queued at an earlier stop, is stale.
    bool IsStaleLeave(const CMessage& message, const CBaseObj* sender) const;
    void Visit(int32_t landmarkId);
    void Rest();

    // The hill and river choices (SceneFrameChoices.cpp): true when the id is one of them.
    bool HandleChoice(int32_t id);
    // A ferry scene's ferry button dims while the party cannot pay the ferry.
    void DimFerryWhenPoor();
    void Look();
    void ShowRiverFacts();
    void ShowAdvice();
    void Choose(int32_t id);
    void Raft();
    void PayFerry();
    bool WetGround() const;
    scene::CrossingFacts CrossingFacts() const;
    scene::HillFacts HillFacts() const;
    int32_t OutcomeClip(int32_t id, bool success) const;
    // Replaces the panel by the first object of the template list (owned by this frame).
    CFrame* ReplacePanel(CFrame*& panel, int32_t listId);
    void DeletePanel(CFrame*& panel);

    CFrame* outcomePanel_ = nullptr;
    CFrame* riverInfoPanel_ = nullptr;
    CFrame* advicePanel_ = nullptr;
    CTravel& travel_;
    CFrame* content_ = nullptr;
    int32_t sceneId_;
    int32_t outcome_ = 0;
    uint8_t closed_ = 0;
    uint8_t namesAsked_ = 0;
    // The builds so far: each stop's scene is a build.
    int32_t builds_ = 0;
};
