// Route events' dialogs on the sample data, run by the modal loop with a scripted answer:
// the title, the choices hidden, disabled or offered, the picture or a traveller's clip, the
// control that ended the dialog as the step; a no-dialog event's clip message; the result box.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/native/Button.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/framework/Util.h"
#include "engine/graphics/FontList.h"
#include "engine/media/SmackerFrame.h"
#include "engine/media/SndObj.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/LibraryHooks.h"
#include "game/base/SoundSlots.h"
#include "game/travel/EventResolve.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Trip.h"
#include "tests/engine/controls/native/NativeKit.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/travel/EventRecords.h"
#include "tests/game/travel/GameDialogData.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"

namespace fs = std::filesystem;

namespace traveltest {
namespace {

// A trip that records the messages its events send to the travel screen.
class ScreenTrip : public CTrip {
public:
    void SendToTravelFrame(int32_t id) override { frame.push_back(id); }
    void OnChoiceItem(int16_t item, CParty*) override { items.push_back(item); }
    void PlayTravelMusic() override { ++music; }
    std::vector<int32_t> frame;
    std::vector<int16_t> items;
    int music = 0;
};

// Records the step each resolution got instead of applying it.
class StepLog : public CTripEvents {
public:
    using CTripEvents::CTripEvents;
    void ResolveEvent(CEventQueue&, CRouteEvent& event) override
    {
        steps.push_back(event.GetStep());
        event.SetState(CRouteEvent::kFinished);
    }
    std::vector<int16_t> steps;
};

class EventDisplayTest : public ntest::NativeTest {
protected:
    void SetUp() override
    {
        NativeTest::SetUp();
        appl = std::make_unique<wtest::TestAppl>(log);
        // Test records: 41 shows every kind of choice, 43 has no dialog.
        qmtest::FolderLibraryWriter extra(qmtest::TempDir() / "Extra");
        extra.Add(
            "EVT", 41,
            EventRecordText({.pictures = {6012}}, {Choice{.text = 1}, Choice{.text = 0}, Choice{.text = 3},
                                                   Choice{.item = 192, .text = 5}, Choice{.text = 7}}));
        extra.Add("EVT", 43, EventRecordText({.display = 2, .pictures = {11500}}, {Choice{.text = 1}}));
        // 44 plays a random effect, 45 its own sound; 46's only choice (text 4) is not resolved.
        extra.Add("EVT", 44, EventRecordText({.sound = 1}, {Choice{.text = 1}}));
        extra.Add("EVT", 45, EventRecordText({.sound = 1037}, {Choice{.text = 1}}));
        extra.Add("EVT", 46, EventRecordText({}, {Choice{.item = 192, .text = 4}}));
        OpenGameDataForDialogs({"Extra"});
        CUtil::SetRandomSeed(3);
        trip.SetUpTrip();
        trip.PlaceOnNode(2);
        auto handler = std::make_unique<StepLog>(trip);
        steps = handler.get();
        queue().SetHandler(std::move(handler));
    }

    CEventQueue& queue() { return *trip.GetEventQueue(); }
    CParty& party() { return *trip.GetParty(); }
    CFrame* Dialog() { return wnd->GetTopFrame(); }
    // The clip a place holds (its only child); null when it is empty.
    static CFrame* ClipIn(const CFrame& place)
    {
        const CList* children = place.GetChildren();
        return children && children->GetHeadNode() ? static_cast<CFrame*>(children->GetHeadNode()->item)
                                                   : nullptr;
    }
    template <class T> T* Object(int32_t id)
    {
        return dynamic_cast<T*>(Dialog()->FindObject(CBaseObj::kAnyKind, id));
    }

    // Shows a new event of the type; `answer` runs while its dialog is up.
    CRouteEvent& Show(int16_t type, std::function<void()> answer)
    {
        CRouteEvent* event = queue().PostEvent(type, 0, 0, -1, 0, nullptr);
        event->SetStep(-1);
        wtest::Later later(std::move(answer));
        steps->ShowEvent(queue(), *event);
        return *event;
    }

    std::unique_ptr<wtest::TestAppl> appl;
    ScreenTrip trip;
    StepLog* steps = nullptr;
};

TEST_F(EventDisplayTest, ChoicesAreHiddenDisabledOrOfferedAndEnterTakesTheFirst)
{
    std::string title;
    std::vector<std::pair<bool, bool>> shownEnabled;
    std::vector<std::string> labels;
    int16_t picture = 0;
    CRouteEvent* event = queue().PostEvent(41, 0, 0, -1, 0, nullptr);
    event->DisableChoice(2);
    event->SetStep(-1);
    wtest::Later answer([&] {
        ASSERT_NE(dynamic_cast<CImageFrame*>(Dialog()), nullptr);
        title = Object<CTextFrame>(CTripEvents::kTitleId)->GetText()->GetText();
        for (int i = 0; i < 5; ++i) {
            auto* b = Object<CButton>(CTripEvents::kFirstChoiceId + i);
            shownEnabled.emplace_back(b->IsShown(), b->IsEnabled());
            labels.emplace_back(b->GetText() ? b->GetText()->GetText() : "");
        }
        auto* image = Object<CImageWnd>(CTripEvents::kPictureId);
        picture = image && image->GetImages() ? 1 : 0;
        plat::PressKey(plat::key::Enter);
    });
    steps->ShowEvent(queue(), *event);
    EXPECT_EQ(title, "Infection");
    EXPECT_EQ(shownEnabled, (std::vector<std::pair<bool, bool>>{
                                {true, true}, {false, true}, {true, false}, {true, false}, {true, true}}));
    EXPECT_EQ(labels[0], "Press on.");
    EXPECT_EQ(labels[3], "Trade for a new part.");
    EXPECT_EQ(picture, 1);
    EXPECT_EQ(steps->steps, std::vector<int16_t>{0});
    EXPECT_EQ(wnd->GetLayerCount(), 1) << "the dialog is gone";
    EXPECT_TRUE(trip.items.empty());
}

TEST_F(EventDisplayTest, TheControlThatEndedTheDialogGivesTheStepAnyOtherStepZero)
{
    // Choice 4 pressed: step 4.
    Show(41, [&] { SendMsg(*Dialog(), -39, 0, 0, Object<CButton>(CTripEvents::kFirstChoiceId + 4)); });
    // The wheel's part held: choice 3 can be pressed, and the travel module hears of its item.
    party().GetSupplies()->AddItem(192, 1);
    Show(41, [&] { SendMsg(*Dialog(), -39, 0, 0, Object<CButton>(CTripEvents::kFirstChoiceId + 3)); });
    // Ended by something that is no choice (the picture): step 0.
    Show(41, [&] { SendMsg(*Dialog(), -39, 0, 0, Object<CImageWnd>(CTripEvents::kPictureId)); });
    EXPECT_EQ(steps->steps, (std::vector<int16_t>{4, 3, 0}));
    EXPECT_EQ(trip.items, std::vector<int16_t>{192});
}

TEST_F(EventDisplayTest, WithTheFirstChoiceDisabledEnterTakesTheFirstThatCanBePressed)
{
    CRouteEvent* event = queue().PostEvent(41, 0, 0, -1, 0, nullptr);
    event->DisableChoice(0);
    event->SetState(CRouteEvent::kShowAgain);
    wtest::Later answer([&] { plat::PressKey(plat::key::Enter); });
    steps->ShowEvent(queue(), *event);
    EXPECT_EQ(steps->steps, std::vector<int16_t>{2}) << "the first choice that can be pressed";
}

TEST_F(EventDisplayTest, ANoDialogEventHandsItsClipToTheTravelScreenAndKeepsItsStep)
{
    CRouteEvent* event = queue().PostEvent(43, 0, 0, -1, 0, nullptr);
    event->SetStep(-1);
    steps->ShowEvent(queue(), *event);
    EXPECT_EQ(trip.frame, std::vector<int32_t>{CTripEvents::kMsgEventClip});
    EXPECT_EQ(queue().GetNotifyWord(), 11500);
    EXPECT_EQ(steps->steps, std::vector<int16_t>{-1});
    EXPECT_EQ(wnd->GetLayerCount(), 1) << "no dialog";
}

TEST_F(EventDisplayTest, AVideoDialogShowsATravellersClipOrLeavesItsPlaceEmpty)
{
    // A sound playing before each dialog: a traveller's clip stops every sound first.
    SetOption("soundon", true);
    shelltest::Log sounds;
    SetSoundFactory([&sounds](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
        return std::make_unique<shelltest::FakeSound>(id, streamed, sounds, 0);
    });
    const auto soundPlaying = [&sounds] {
        sounds.clear();
        PlaySoundEffect(4242, 0, 100);
    };
    const auto stopped = [&sounds] {
        return std::find(sounds.begin(), sounds.end(), "4242:stop") != sounds.end();
    };
    // Person 7 has person index 1, whose cold (event 8) has a clip: 1 x 10000 + 8.
    party().CreateMember(1, 7);
    party().SetMemberCount(2);
    int32_t clip = -1;
    soundPlaying();
    Show(8, [&] {
        auto* video = dynamic_cast<CSmackerFrame*>(ClipIn(*Object<CFrame>(CTripEvents::kClipPlaceId)));
        clip = video ? video->GetMovieId() : 0;
        plat::PressKey(plat::key::Enter);
    });
    EXPECT_EQ(clip, 10008);
    EXPECT_TRUE(stopped());
    EXPECT_EQ(trip.music, 1) << "the travel music again after a clip";
    // Person 2 (index 18) has no clip: the place stays empty.
    party().CreateMember(1, 2);
    Show(8, [&] {
        clip = ClipIn(*Object<CFrame>(CTripEvents::kClipPlaceId)) ? 1 : 0;
        plat::PressKey(plat::key::Enter);
    });
    EXPECT_EQ(clip, 0);
    // With the leader travelling alone there is nobody to show, and the sound plays on.
    party().SetMemberCount(1);
    soundPlaying();
    Show(8, [&] {
        clip = ClipIn(*Object<CFrame>(CTripEvents::kClipPlaceId)) ? 1 : 0;
        plat::PressKey(plat::key::Enter);
    });
    EXPECT_EQ(clip, 0);
    EXPECT_FALSE(stopped());
    // The slots let their sounds go while the log they write to lives.
    StopSounds(nullptr, 0);
    PurgeSounds();
    EXPECT_EQ(steps->steps, (std::vector<int16_t>{0, 0, 0}));
}

// A new event's dialog plays its sound once, streamed: sound 1 a random effect 1031-1039 (the
// draw's high end here), another number that sound; an event shown again plays none.
TEST_F(EventDisplayTest, ANewEventsDialogPlaysItsSound)
{
    struct Case {
        const char* what;
        int16_t type;
        int32_t state;
        std::vector<std::string> sounds;
    } cases[] = {
        {"no sound", 41, CRouteEvent::kNew, {}},
        {"a random effect", 44, CRouteEvent::kNew, {"1039 streamed"}},
        {"its own sound", 45, CRouteEvent::kNew, {"1037 streamed"}},
        {"shown again", 45, CRouteEvent::kShowAgain, {}},
    };
    SetOption("soundon", true);
    std::vector<std::string> made;
    SetSoundFactory([&made](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
        made.push_back(std::to_string(id) + (streamed ? " streamed" : " sample"));
        return nullptr;
    });
    CUtil::SetDrawSource([](int32_t, int32_t hi, int32_t) { return hi; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        made.clear();
        CRouteEvent* event = queue().PostEvent(c.type, 0, 0, -1, 0, nullptr);
        event->SetState(c.state);
        wtest::Later answer([] { plat::PressKey(plat::key::Enter); });
        steps->ShowEvent(queue(), *event);
        EXPECT_EQ(made, c.sounds);
        event->SetState(CRouteEvent::kFinished);
    }
    CUtil::SetDrawSource(nullptr);
}

// A choice whose text is number 4 leaves the event unresolved, and its item unmentioned.
TEST_F(EventDisplayTest, AChoiceOfTextFourIsNotResolved)
{
    party().GetSupplies()->AddItem(192, 1);
    const CRouteEvent& event = Show(46, [] { plat::PressKey(plat::key::Enter); });
    EXPECT_TRUE(steps->steps.empty());
    EXPECT_EQ(event.GetStep(), 0);
    EXPECT_TRUE(trip.items.empty());
}

TEST_F(EventDisplayTest, TheResultBoxShowsTheTitleAndThePhraseUntilEnter)
{
    std::string title, text;
    bool defaultOk = false;
    wtest::Later answer([&] {
        title = Object<CTextFrame>(CTripEvents::kResultTitleId)->GetText()->GetText();
        text = Object<CTextFrame>(CTripEvents::kResultTextId)->GetText()->GetText();
        const CWindControl* ok = wnd->GetDefaultControl();
        defaultOk = ok && ok->GetId() == 6421;
        plat::PressKey(plat::key::Enter);
    });
    steps->ShowResult(86, 34, nullptr);
    EXPECT_EQ(title, "Wagon Theft");
    EXPECT_EQ(text, "\nThe thief got away.");
    EXPECT_TRUE(defaultOk);
    EXPECT_EQ(wnd->GetLayerCount(), 1);
}

} // namespace
} // namespace traveltest
