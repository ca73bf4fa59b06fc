// The landmark character in a window, on a scene stand-in that records what the character
// sends it (with the pass of the clock on which it arrived) and shows or gives back its
// caption; the video is a fake that notes what is asked of it; the clock is the test's.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/media/SmackerFrame.h"
#include "engine/resources/Registrar.h"
#include "game/landmarks/LmCharDataRecord.h"
#include "game/landmarks/LmCharFrm.h"
#include "game/landmarks/LmCharHost.h"
#include "game/landmarks/LmCharVideo.h"
#include "game/shell/TemplateTypes.h"
#include "game/travel/Market.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/game/landmarks/LandmarkWorld.h"

namespace {

using lmtest::Box;
using lmtest::CharacterError;
using lmtest::Warning;

// A video that opens (or fails to, state 5) without a clip and notes each operation.
class FakeVideo : public CSmackerFrame {
public:
    FakeVideo(const CPoint& at, int32_t clipId, uint32_t flags, bool opens, std::vector<std::string>& log)
        : CSmackerFrame(-2, at, clipId, 0, flags, nullptr, 0), opens_(opens), log_(log)
    {
    }
    void Open() override
    {
        if (opens_)
            SetSize(100, 60);
        else
            SetState(kNoMovie);
    }
    void Play(int32_t frame) override
    {
        log_.push_back("play " + std::to_string(frame));
        SetState(kPlaying);
    }
    void Pause() override
    {
        log_.push_back("pause");
        SetState(kPaused);
    }
    void Stop() override
    {
        log_.push_back("stop");
        SetState(kStopped);
    }
    void ShowFrame(int32_t n, bool) override { log_.push_back("frame " + std::to_string(n)); }
    void SetClickMode(int32_t mode) override
    {
        log_.push_back("click " + std::to_string(mode));
        CSmackerFrame::SetClickMode(mode);
    }

private:
    bool opens_;
    std::vector<std::string>& log_;
};

// What the character sent its parent, and the pass on which it arrived: 0 at once, 1 the
// pump's next pass (a delay of 0), 1 + n after n ticks (a delay of n).
struct Sent {
    int32_t id;
    MsgWord p1, p2;
    int pass;
    bool operator==(const Sent&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Sent& s)
{
    return out << "{" << s.id << ", " << s.p1 << ", " << s.p2 << ", pass " << s.pass << "}";
}

class SceneStandIn : public CFrame, public CLmCharHost {
public:
    explicit SceneStandIn(const int& pass) : CFrame(4, 933, CRect(0, 0, 240, 320), true), pass_(pass) {}
    void SetOwner(CBaseObj* owner) override
    {
        CFrame::SetOwner(owner);
        if (owner)
            RegisterLiveObject(this);
    }
    bool HandleMessage(CMessage& m, CBaseObj* sender) override
    {
        if (dynamic_cast<CLmCharFrm*>(sender))
            sent.push_back({m.GetId(), m.GetParam(0), m.GetParam(1), pass_});
        if (onMessage)
            onMessage(m);
        return true;
    }
    std::unique_ptr<CStr> ShowCaption(std::unique_ptr<CStr> text) override
    {
        captions.push_back(text ? text->GetText() : "(null)");
        return keepsCaptions ? nullptr : std::move(text);
    }

    std::vector<Sent> sent;
    std::vector<std::string> captions;
    bool keepsCaptions = true;
    std::function<void(CMessage&)> onMessage;

private:
    const int& pass_;
};

// The popup of a test: a modal frame 200 x 100 with the resume button, a pick button of each
// person given and the money text.
std::string PopupList(const std::vector<int16_t>& persons)
{
    std::string text = "14, 1028, 0, 0x9, 0,0, 0,0, 0, 0, 100, 200\n"
                       "1, 199, 1028, 0x9, 0,0, 0,0, 5, 5, 15, 50\n"
                       "9, 231, 1028, 0xB, 0,0, 0,0, 80, 5, 95, 150, \"\", 5, 0, -1, 1, 1, 1, 0\n";
    for (int16_t p : persons)
        text += "1, " + std::to_string(201 + p) + ", 1028, 0x9, 0,0, 0,0, 20, 5, 30, 50\n";
    return text;
}

class CharacterFrame : public ctest::ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        ctest::InstallTestFont();
        appl = std::make_unique<wtest::TestAppl>(log);
        CRegistrar::Clear();
        RegisterTemplateTypes();
        scene = new SceneStandIn(pass);
        root->AddChild(scene, false);
        SetLmCharVideoMaker([this](const CPoint& at, int32_t clipId, uint32_t mask, const char* fileName,
                                   uint32_t flags) -> std::unique_ptr<CSmackerFrame> {
            made.push_back({clipId, mask, fileName ? fileName : "", flags});
            return std::make_unique<FakeVideo>(at, clipId, flags, videoOpens, video);
        });
    }
    void TearDown() override
    {
        appl.reset();
        ControlsTest::TearDown();
    }

    // A character of the commands on the scene.
    CLmCharFrm* Make(const std::string& commands, const std::string& name = "\"grain.smk\"")
    {
        const std::unique_ptr<CTLmCharFrm> tpl = lmtest::ReadCharacter(lmtest::CharacterText(commands, name));
        auto* character = static_cast<CLmCharFrm*>(CTLmCharFrm::Create(tpl.get()));
        scene->AddChild(character, false);
        lmtest::LandmarkWorld::Boxes();
        return character;
    }
    CLmCharFrm* Start(const std::string& commands)
    {
        CLmCharFrm* character = Make(commands);
        character->StartMovie();
        return character;
    }
    // One pass of the clock: a tick, the due timers and the due messages.
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            ++pass;
            qmtest::Clock().Advance(17);
            CDispatchScope scope;
            RunDueTimers();
            ProcessDueMessages();
        }
    }
    // From pass 0: the pump's next pass at the same tick, then n ticks.
    void Settle(int ticks = 2)
    {
        pass = 0;
        ++pass;
        {
            CDispatchScope scope;
            ProcessDueMessages();
        }
        Tick(ticks);
    }
    // A press on the character's middle.
    void Press(const CLmCharFrm& character)
    {
        const CRect& r = character.GetDrawnRect();
        Down(r.GetLeft() + r.GetWidth() / 2, r.GetTop() + r.GetHeight() / 2);
        Up(r.GetLeft() + r.GetWidth() / 2, r.GetTop() + r.GetHeight() / 2);
    }
    // Sends the character a video event as its video does.
    static void Event(CLmCharFrm& character, int32_t event)
    {
        CMessage m(CSmackerFrame::kMsgVideoDone, event, 0, -1);
        character.HandleMessage(m, character.GetVideo());
    }
    std::vector<std::string> TakeVideoLog() { return std::exchange(video, {}); }
    // A person listed in the travel module's person table, and one who is not.
    int16_t ListedPerson() const { return world.Travel().GetPersons()[0].id; }
    int16_t UnlistedPerson() const
    {
        for (int16_t p = 1; p <= 20; ++p)
            if (!world.Travel().IsPersonListed(p))
                return p;
        return 0;
    }
    // The person code of a continue value naming the person.
    static int32_t CodeOf(int16_t person)
    {
        for (int32_t code = 1; code <= 20; ++code)
            if (CLmCharFrm::PersonOfCode(code) == person)
                return code;
        return 0;
    }

    struct Made {
        int32_t clipId;
        uint32_t mask;
        std::string fileName;
        uint32_t flags;
    };

    lmtest::LandmarkWorld world;
    std::unique_ptr<wtest::TestAppl> appl;
    SceneStandIn* scene = nullptr;
    int pass = 0;
    bool videoOpens = true;
    std::vector<std::string> video;
    std::vector<Made> made;
};

// ---- Starting ----

TEST_F(CharacterFrame, StartingMakesTheVideoShowsTheCaptionAndWaitsOneTick)
{
    CLmCharFrm* c = Start("0, 210250, 7, 10, 1, 11, 1, 16, \"The ferry runs at dawn.\", 101");
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].clipId, 210250);
    EXPECT_EQ(made[0].mask, 7u);
    EXPECT_EQ(made[0].flags, 0x80u | CSmackerFrame::kLoop | CSmackerFrame::kAutoPlay);
    ASSERT_TRUE(c->HasVideo());
    EXPECT_EQ(c->GetVideo()->GetParent(), c);
    EXPECT_TRUE(c->GetVideo()->IsVisible());
    EXPECT_EQ(c->GetVideo()->GetClickMode(), 0);
    EXPECT_EQ(TakeVideoLog(), (std::vector<std::string>{"click 0"}));
    EXPECT_EQ(c->GetBounds(), CRect(40, 30, 100, 130)) << "the video's rectangle";
    EXPECT_EQ(scene->captions, (std::vector<std::string>{"The ferry runs at dawn."}));
    EXPECT_EQ(c->GetDataRecord()->GetCaption(), nullptr) << "the scene kept it";
    EXPECT_NE(c->GetTimer(), nullptr);
    Tick();
    EXPECT_EQ(c->GetTimer(), nullptr);
    EXPECT_TRUE(video.empty()) << "a fixed clip schedules nothing";
}

TEST_F(CharacterFrame, CaptionsVideosThatFailAndClipsByFileName)
{
    // Captions off: the text comes back and stays with the record.
    scene->keepsCaptions = false;
    CLmCharFrm* given = Start("0, 210250, -1, 16, \"Mind the current.\", 102, 0, 101");
    EXPECT_STREQ(given->GetDataRecord()->GetCaption()->GetText(), "Mind the current.");
    EXPECT_EQ(made.back().flags, 0x80u) << "AUTOPLAY 0";

    // Clips 210100..210200 show no caption; a clip that fails to open leaves no video.
    scene->captions.clear();
    videoOpens = false;
    CLmCharFrm* quiet = Start("0, 210150, -1, 16, \"Unheard.\", 101");
    EXPECT_TRUE(scene->captions.empty());
    EXPECT_FALSE(quiet->HasVideo());
    EXPECT_EQ(quiet->GetChildren() ? quiet->GetChildren()->GetCount() : 0, 0);
    EXPECT_EQ(quiet->GetBounds().TopLeft(), CPoint(30, 40));

    // File id 0 plays the file named by the template.
    videoOpens = true;
    Start("101");
    EXPECT_EQ(made.back().clipId, 0);
    EXPECT_EQ(made.back().fileName, "grain.smk");
    EXPECT_EQ(scene->captions.size(), 0u) << "no caption text";
}

TEST_F(CharacterFrame, ARandomClipCountsTheVisitsInTheLandmarkFlag)
{
    struct Case {
        const char* what;
        int32_t stored; // -1: none
        int32_t after;
        int32_t clickMode;
    };
    const Case cases[] = {
        {"first visit", -1, 11, 1}, {"second", 11, 21, 1},  {"third: no more clicks", 21, 31, 0},
        {"fourth", 31, 41, 0},      {"stored 0", 0, 11, 1}, {"stored -5", -5, 11, 1},
        {"stored 14", 14, 25, 1},
    };
    int32_t clip = 210300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world.Document().ClearLMFlag(210300);
        if (c.stored != -1)
            world.Document().SetLMFlag(210300, c.stored);
        world.Draws({{210300, 210302, clip}});
        CLmCharFrm* character = Start("1, 210300, -1, 3, 0, 103, 1, 101");
        EXPECT_EQ(world.Document().GetLMFlag(210300), c.after);
        EXPECT_EQ(character->GetDataRecord()->GetClickMode(), c.clickMode);
        EXPECT_EQ(made.back().clipId, clip);
        clip = clip == 210302 ? 210300 : clip + 1;
        character->Destroy();
    }

    // A character that no longer answers clicks does nothing on a press.
    world.Document().SetLMFlag(210300, 21);
    world.Draws({{210300, 210302, 210301}});
    CLmCharFrm* tired = Start("1, 210300, -1, 3, 0, 103, 1, 13, 5, 3000, 101");
    Press(*tired);
    Tick(2);
    EXPECT_EQ(tired->GetClickCount(), 1);
    EXPECT_TRUE(scene->sent.empty());

    // Without an open game the flag reads -1 and nothing is kept.
    world.CloseDocument();
    world.Draws({{210300, 210302, 210300}});
    CLmCharFrm* unsaved = Start("1, 210300, -1, 3, 0, 103, 1, 101");
    EXPECT_EQ(unsaved->GetDataRecord()->GetClickMode(), 1);
}

// ---- Idle characters ----

TEST_F(CharacterFrame, AnIdleCharacterPlaysAfterItsPauses)
{
    // Pre-pause 30: a random wait of 0..30 ticks (0 counts as 1); post-pause -40: 40 ticks.
    CLmCharFrm* c = Start("4, 30, -40, 101");
    TakeVideoLog();
    world.Draws({{0, 30, 0}});
    Tick();
    EXPECT_TRUE(video.empty());
    Tick();
    EXPECT_EQ(TakeVideoLog(), (std::vector<std::string>{"play 1"}));

    // The clip's end schedules the next play and is left to others.
    CMessage finished(CSmackerFrame::kMsgVideoDone, CLmCharFrm::kEventFinished, 0, -1);
    EXPECT_FALSE(c->HandleMessage(finished, c->GetVideo()));
    Tick(39);
    EXPECT_TRUE(video.empty());
    Tick();
    EXPECT_EQ(TakeVideoLog(), (std::vector<std::string>{"play 1"}));

    // A 311 naming another character is not this one's.
    CMessage other(CLmCharFrm::kMsgIdlePlay, 501, 0, -1);
    c->HandleMessage(other, nullptr);
    EXPECT_TRUE(video.empty());
}

// ---- Clicks ----

TEST_F(CharacterFrame, ClickModeThreeStartsOrPausesTheVideoOnlyOnce)
{
    CLmCharFrm* c = Start("0, 210250, -1, 103, 3, 12, 5, 10135, 101");
    TakeVideoLog();
    Press(*c);
    EXPECT_EQ(c->GetClickCount(), 1);
    EXPECT_EQ(TakeVideoLog(), (std::vector<std::string>{"play 0", "click 0"}));
    Press(*c);
    EXPECT_EQ(c->GetClickCount(), 2);
    EXPECT_TRUE(video.empty()) << "a second click does nothing more";
    EXPECT_TRUE(scene->sent.empty());

    // A first click on a playing video pauses it: event 2 switches to click mode 1 and runs
    // the stop actions.
    CLmCharFrm* playing = Start("0, 210250, -1, 103, 3, 12, 5, 10135, 101");
    playing->GetVideo()->Play(0);
    TakeVideoLog();
    Press(*playing);
    EXPECT_EQ(TakeVideoLog(), (std::vector<std::string>{"pause", "click 0"}));
    EXPECT_EQ(playing->GetDataRecord()->GetClickMode(), 1);
    Settle();
    EXPECT_EQ(scene->sent, (std::vector<Sent>{{308, 500, 10135, 2}}));
}

TEST_F(CharacterFrame, ClickModeFourLetsThePauseShowTheLastFrame)
{
    CLmCharFrm* c = Start("4, 30, -40, 101");
    TakeVideoLog();
    Press(*c);
    EXPECT_EQ(TakeVideoLog(), (std::vector<std::string>{"click 4", "play 0", "click 0"}));
}

TEST_F(CharacterFrame, APauseSwitchesToClickModeOneUnlessAClickStartsTheClip)
{
    CLmCharFrm* plain = Start("0, 210250, -1, 103, 3, 12, 10, 101");
    Event(*plain, CLmCharFrm::kEventPaused);
    EXPECT_EQ(plain->GetDataRecord()->GetClickMode(), 1);
    EXPECT_EQ(TakeVideoLog().back(), "frame 999");

    CLmCharFrm* replay = Start("0, 210250, -1, 103, 3, 13, 3, 0, 12, 11, 101");
    Event(*replay, CLmCharFrm::kEventPaused);
    EXPECT_EQ(replay->GetDataRecord()->GetClickMode(), 3);
    EXPECT_EQ(TakeVideoLog().back(), "frame 1");
    // The end of a clip that is not idle runs the stop actions the same way.
    Event(*plain, CLmCharFrm::kEventFinished);
    EXPECT_EQ(TakeVideoLog().back(), "frame 999");
}

TEST_F(CharacterFrame, ClickModeOneRunsTheContinueActionsOrOpensThePopup)
{
    // A continue value from 2000: the continue actions, through event 0.
    CLmCharFrm* talker = Start("0, 210250, -1, 103, 1, 13, 5, 3000, 101");
    Press(*talker);
    EXPECT_TRUE(scene->sent.empty()) << "queued for the next pass";
    Settle();
    EXPECT_EQ(scene->sent, (std::vector<Sent>{{308, 500, 3000, 1}}));
}

// ---- The popup ----

TEST_F(CharacterFrame, PopupResultsAddPersonsToTheParty)
{
    // The first pick names the person whose goods' money the popup shows.
    const int16_t listed = ListedPerson();
    ASSERT_LT(listed, 11);
    world.Travel().GetMarket(static_cast<int16_t>(listed - 1))->AddGoods(35, 120, 1.0);
    deftext::AddFolderLibrary({{"TPL", 1028, PopupList({14, 11, listed})}});
    struct Case {
        const char* what;
        int32_t result;
        std::vector<int16_t> members; // slots 1.. after the choice
    };
    const Case cases[] = {
        {"215 adds person 14", 215, {14}},
        {"212 adds persons 11 and 18", 212, {11, 18}},
        {"199 adds nobody", 199, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world.Party().SetMemberCount(1);
        scene->sent.clear();
        CLmCharFrm* character = Start("0, 210250, -1, 103, 1, 17, 1028, 19, 10137, 101");
        character->GetVideo()->Play(0);
        TakeVideoLog();
        std::string money;
        CPoint at;
        wtest::Later answer([&] {
            CFrame* popup = wnd->GetTopFrame();
            at = popup->GetBounds().TopLeft();
            if (auto* text = dynamic_cast<CTextFrame*>(popup->FindObject(CBaseObj::kAnyKind, 231)))
                money = text->GetText() ? text->GetText()->GetText() : "";
            SendMsg(*popup, kMsgEndModal, 0, 0, popup->FindObject(CBaseObj::kAnyKind, c.result));
        });
        Press(*character);
        EXPECT_EQ(money, "$ 120") << "the money of the first pick's person";
        EXPECT_EQ(at, CPoint(130, 70)) << "beside the character, at half its height";
        std::vector<int16_t> members;
        for (int16_t s = 1; world.Party().GetMember(s); ++s)
            members.push_back(world.Party().GetMember(s)->GetId());
        EXPECT_EQ(members, c.members);
        const std::vector<std::string> resumed{"stop", "play 0"};
        EXPECT_EQ(TakeVideoLog(), c.result == 199 ? resumed : std::vector<std::string>{"stop"});
        Settle();
        if (c.members.empty())
            EXPECT_TRUE(scene->sent.empty());
        else
            EXPECT_EQ(scene->sent, (std::vector<Sent>{{308, 500, 10137, 2}}));
        character->Destroy();
    }
}

TEST_F(CharacterFrame, APopupNearTheRightEdgeStaysOnTheScreenAndAMissingValueOpensIt)
{
    deftext::AddFolderLibrary({{"TPL", 1028, PopupList({})}});
    CLmCharFrm* character = Start("0, 210250, -1, 103, 1, 17, 1028, 101");
    character->MoveToPoint(CPoint(500, 40));
    CPoint at;
    wtest::Later answer([&] {
        CFrame* popup = wnd->GetTopFrame();
        at = popup->GetBounds().TopLeft();
        SendMsg(*popup, kMsgEndModal, 0, 0, popup->FindObject(CBaseObj::kAnyKind, 199));
    });
    // No continue entry: the missing value counts as -1, below 2000.
    CMessage press(kMsgMouse, 0, 0, -1);
    press.SetParam(1, 2);
    character->HandleMessage(press, nullptr);
    EXPECT_EQ(at, CPoint(441, 70));
}

TEST_F(CharacterFrame, WhoJoinsThePartyOnAPick)
{
    struct Case {
        const char* what;
        std::vector<int16_t> slots; // persons in slots 1..; 0 an empty slot
        int16_t away;               // a slot whose member no longer travels (0 none)
        int16_t person;
        std::vector<int16_t> after;
        int16_t count;
        bool shown; // the PICKME list is asked for
    };
    const Case cases[] = {
        {"one joins the leader", {}, 0, 14, {14}, 2, true},
        {"1 brings 16", {}, 0, 1, {1, 16}, 3, true},
        {"18 brings 11", {3}, 0, 18, {3, 18, 11}, 4, true},
        {"a pair fills slots 3 and 4", {3, 4}, 0, 16, {3, 4, 16, 1}, 5, true},
        {"one takes slot 4", {3, 4, 7}, 0, 14, {3, 4, 7, 14}, 5, true},
        {"a pair is refused at slot 4", {3, 4, 7}, 0, 1, {3, 4, 7}, 4, false},
        {"a pair needs the next slot empty", {3, 0, 7}, 0, 11, {3, 0, 7}, 4, false},
        {"one takes the first empty slot", {3, 0, 7}, 0, 14, {3, 14, 7}, 4, true},
        {"one already in the party", {3, 14}, 0, 14, {3, 14}, 3, false},
        {"a member who no longer travels keeps the count", {3, 4}, 1, 14, {3, 4, 14}, 4, true},
    };
    CLmCharFrm* c = Start("0, 210250, -1, 19, 10137, 101");
    CParty& party = world.Party();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        for (int16_t s = 1; s < CParty::kMaxMembers; ++s)
            party.DeleteMember(s);
        for (size_t i = 0; i < k.slots.size(); ++i)
            if (k.slots[i])
                party.CreateMember(static_cast<int16_t>(i + 1), k.slots[i]);
        party.SetMemberCount(static_cast<int16_t>(k.slots.size() + 1));
        if (k.away)
            party.GetMember(k.away)->SetStatus(0);
        scene->sent.clear();
        c->OnPickMe(k.person);
        std::vector<int16_t> after;
        for (int16_t s = 1; s < party.CountMembers(false); ++s)
            after.push_back(party.GetMember(s) ? party.GetMember(s)->GetId() : 0);
        EXPECT_EQ(after, k.after);
        EXPECT_EQ(party.CountMembers(false), k.count);
        Settle();
        EXPECT_EQ(scene->sent.size(), k.shown ? 1u : 0u);
    }

    // Without a PICKME list nobody joins.
    CLmCharFrm* plain = Start("0, 210250, -1, 101");
    plain->OnPickMe(14);
    EXPECT_EQ(world.Boxes(), (std::vector<Box>{CharacterError("PickMe resource ID not found in template",
                                                              "CLmCharFrm::OnPickMe()")}));
}

// ---- The actions ----

TEST_F(CharacterFrame, ContinueActionsSendAtTheNextPass)
{
    const int32_t listed = CodeOf(ListedPerson()) * 10000 + 135;
    const int32_t unlisted = CodeOf(UnlistedPerson()) * 10000 + 136;
    struct Case {
        const char* what;
        std::string commands;
        std::vector<Sent> sent; // pass 0: at once, 1: the next pass
        std::vector<Box> boxes;
        std::vector<std::string> video;
    };
    const Box lastOnly =
        Warning("LM_KILL_N_LOAD_MSG has to be the last stop condition.", "CTLmCharFrm::TemplateError.");
    const Case cases[] = {
        {"7 alone", "13, 7, 10135", {{308, 500, 10135, 1}}, {}, {}},
        {"7 first of two", "13, 7, 10135, 13, 0, 0", {}, {lastOnly}, {}},
        {"9 last: hidden, a transition now, the list next",
         "13, 0, 0, 13, 9, 10135",
         {{309, 0, 2, 0}, {308, 500, 10135, 1}},
         {},
         {}},
        {"9 first of two",
         "13, 9, 10135, 13, 0, 0",
         {},
         {CharacterError("LM_KILL_N_LOAD_MSG has to be the last stop condition.",
                         "CTLmCharFrm::TemplateError.")},
         {}},
        {"8 out of range: transition 0 after the entry count",
         "13, 8, 5",
         {{309, 0, 2, 2}},
         {CharacterError("Template data out of range for SCREEN_TRANS", "CLmCharFrm::ProcessOnContinue()")},
         {}},
        {"8 kind 1 of two entries", "13, 8, 1, 13, 0, 0", {{309, 1, 2, 3}}, {}, {}},
        {"5 below 10000 names nobody", "13, 5, 9999", {{308, 500, 9999, 1}}, {}, {}},
        {"5 naming a listed person", "13, 5, " + std::to_string(listed), {{308, 500, listed, 1}}, {}, {}},
        {"5 naming a person not listed", "13, 5, " + std::to_string(unlisted), {}, {}, {}},
        {"3 starts the clip", "13, 3, 0", {}, {}, {"play 1"}},
        {"12 and 13 show their lists",
         "13, 12, 44, 0, 0, 0, 0, 13, 13, 0, 45, 0, 0, 0, 0, 0",
         {{308, 500, 45, 1}, {308, 500, 44, 1}},
         {},
         {}},
    };
    world.SetMorale(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLmCharFrm* character = Start("0, 210250, -1, " + c.commands + ", 101");
        TakeVideoLog();
        scene->sent.clear();
        pass = 0;
        character->ProcessOnContinue();
        EXPECT_EQ(world.Boxes(), c.boxes);
        EXPECT_EQ(TakeVideoLog(), c.video);
        Settle();
        EXPECT_EQ(scene->sent, c.sent);
        character->Destroy();
    }
    CLmCharFrm* hiding = Start("0, 210250, -1, 13, 9, 10135, 101");
    hiding->ProcessOnContinue();
    EXPECT_FALSE(hiding->IsShown());
}

TEST_F(CharacterFrame, StopActionsSendOneTickLater)
{
    CLmCharFrm* c = Start("0, 210250, -1, 12, 5, 10135, 12, 11, 101");
    TakeVideoLog();
    pass = 0;
    c->ProcessOnStop();
    EXPECT_EQ(TakeVideoLog(), (std::vector<std::string>{"frame 1"}));
    Settle();
    EXPECT_EQ(scene->sent, (std::vector<Sent>{{308, 500, 10135, 2}}));

    EXPECT_TRUE(c->CheckCondition(CLmCharFrm::kStopList, 11));
    EXPECT_FALSE(c->CheckCondition(CLmCharFrm::kContinueList, 11));
    EXPECT_FALSE(c->CheckCondition(14, 5));
    EXPECT_EQ(world.Boxes(),
              (std::vector<Box>{CharacterError("Can only check for ONSTOP or ONCONTINUE commands",
                                               "CLmCharFrm::CheckCondition")}));
}

TEST_F(CharacterFrame, AStoredMessageIsBroadcastOnce)
{
    struct Case {
        const char* what;
        std::string commands;
        bool stop;
        std::vector<Sent> sent;
    };
    const Case cases[] = {
        {"102 from a stop action: a tick later", "12, 15, 0, 102, 3, 4", true, {{102, 3, 4, 2}}},
        {"102 from a continue action: at once", "13, 15, 0, 102, 3, 4", false, {{102, 3, 4, 0}}},
        {"another id from a stop action: at once", "12, 15, 0, 307, 3, 4", true, {{307, 3, 4, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLmCharFrm* character = Start("0, 210250, -1, " + c.commands + ", 101");
        scene->sent.clear();
        pass = 0;
        for (int run = 0; run < 2; ++run) {
            if (c.stop)
                character->ProcessOnStop();
            else
                character->ProcessOnContinue();
            Settle();
        }
        EXPECT_EQ(scene->sent, c.sent) << "the second run broadcasts nothing";
        EXPECT_EQ(character->GetDataRecord()->GetStoredMessage(), nullptr);
        character->Destroy();
    }
}

TEST_F(CharacterFrame, ABroadcastThatDeletesTheCharacterEndsTheRun)
{
    // The stored message rebuilds the screen: the character, or the scene with it, goes; the
    // list the run would show next is never asked for.
    for (bool wholeScene : {false, true}) {
        for (bool stop : {false, true}) {
            SCOPED_TRACE(std::string(wholeScene ? "the scene" : "the character") +
                         (stop ? ", stop" : ", continue"));
            if (wholeScene) {
                scene = new SceneStandIn(pass);
                root->AddChild(scene, false);
            }
            const std::string list = stop ? "12" : "13";
            CLmCharFrm* c =
                Start("0, 210250, -1, " + list + ", 15, 0, 777, 0, 0, " + list + ", 5, 10135, 101");
            SceneStandIn* seen = scene;
            int deleted = 0;
            seen->onMessage = [&](CMessage& m) {
                if (m.GetId() != 777)
                    return;
                ++deleted;
                if (wholeScene)
                    seen->Destroy();
                else
                    c->Destroy();
            };
            if (stop)
                c->ProcessOnStop();
            else
                c->ProcessOnContinue();
            EXPECT_EQ(deleted, 1);
            EXPECT_EQ(GetPendingMessageCount(), 0);
            Tick(2);
        }
    }
}

} // namespace
