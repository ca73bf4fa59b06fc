// The landmark module over the sample data's records (stock, prices, persons) and a few test
// screens of its own: what it makes for each landmark id (markets, characters of a random
// character landmark), the frame's messages (screens, overlays, music, transitions, the
// character cycling) and the screen rules (presence rules, characters told of a trade while
// one of them rebuilds the screen).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/BTplList.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/Registrar.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModuleConstructors.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"
#include "game/landmarks/Landmark.h"
#include "game/landmarks/PresenceRules.h"
#include "game/shell/TemplateTypes.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/Travel.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/landmarks/TableTravel.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/ScriptedDraws.h"
#include "tests/support/TestEnv.h"

namespace {

using lmtest::TableTravel;

// A landmark that notes the transitions it runs instead of running them.
class RecordingLandmark : public CLandmark {
public:
    using CLandmark::CLandmark;
    std::vector<std::array<int32_t, 3>> transitions;

protected:
    void RunScreenTransition(int32_t code, int32_t direction, int32_t speed) override
    {
        transitions.push_back({code, direction, speed});
    }
};

// A frame standing for a character (object kind 13) that notes the events it is told and may
// act on them.
class CharacterStandIn : public CFrame {
public:
    CharacterStandIn(int32_t id, std::vector<int32_t>& told, std::function<void()> onTold = nullptr)
        : CFrame(13, id, CRect(0, 0, 10, 10), false), told_(told), onTold_(std::move(onTold))
    {
    }
    bool HandleMessage(CMessage& m, CBaseObj*) override
    {
        if (m.GetId() == -23 && m.GetParam(0) == 4 && m.GetParam(1) == 4) {
            told_.push_back(GetId());
            if (onTold_)
                onTold_();
        }
        return true;
    }

private:
    std::vector<int32_t>& told_;
    std::function<void()> onTold_;
};

// Test screens: 70001 a screen holding objects 7 and 8; 70002 and 70003 overlays (objects
// 72 and 73); 70004 a second screen; screens of the store variants and landmark 10010. The
// character lists are the sample's.
const char* const kScreens[][2] = {
    {"070001", "1, 70001, 0, 0x9, 0,0, 0,0, 0, 0, 400, 640\n"
               "1, 7, 70001, 0x9, 0,0, 0,0, 10, 10, 20, 20\n"
               "1, 8, 70001, 0x9, 0,0, 0,0, 30, 10, 40, 20\n"},
    {"070002", "1, 72, 0, 0x9, 0,0, 0,0, 50, 10, 60, 20\n"},
    {"070003", "1, 73, 0, 0x9, 0,0, 0,0, 70, 10, 80, 20\n"},
    {"070004", "1, 70004, 0, 0x9, 0,0, 0,0, 0, 0, 400, 640\n"},
    {"020105", "1, 20105, 0, 0x9, 0,0, 0,0, 0, 0, 400, 640\n"},
    {"010201", "1, 10201, 0, 0x9, 0,0, 0,0, 0, 0, 400, 640\n"},
    {"010010", "1, 10010, 0, 0x9, 0,0, 0,0, 0, 0, 400, 640\n"},
};

class LandmarkModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::filesystem::path tests = qmtest::TempDir() / "Screens";
        qmtest::FolderLibraryWriter writer(tests);
        for (const auto& [name, text] : kScreens)
            writer.Add("TPL", std::stoi(name), text);
        plat::SetDrives({{'C', qmtest::SourceDir() / "data" / "game", plat::DriveKind::Fixed},
                         {'D', qmtest::TempDir(), plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Data"));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Lang"));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\Screens"));
        CRegistrar::Clear();
        RegisterTemplateTypes();
        plat::GetScriptedMessageBoxes().Clear();
        SetSoundFactory([this](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
            return std::make_unique<shelltest::FakeSound>(id, streamed, sounds, 0);
        });
        CUtil::SetRandomSeed(1);
        SetModuleConstructor(CModuleMgr::kTravel, [](const CRect& rect, CModuleMgr&) -> CModule* {
            return new TableTravel(rect);
        });
        manager = std::make_unique<CModuleMgr>(gameWindow.get(), 12);
        Game().moduleMgr = manager.get();
        manager->CreateModule(CModuleMgr::kTravel);
        Travel().SetTable({2, 3, 4, 6, 7, 9, 10, 13});
    }
    void TearDown() override
    {
        landmark.reset();
        DeleteAllSounds();
        Game().moduleMgr = nullptr;
        manager.reset();
        CUtil::SetDrawSource(nullptr);
    }

    TableTravel& Travel() const { return *manager->GetModuleAs<TableTravel>(CModuleMgr::kTravel); }
    CParty& Party() const { return *Travel().GetParty(); }
    void SetCompanions(const std::vector<int16_t>& ids)
    {
        CUtil::SetDrawSource(nullptr);
        for (int16_t slot = 1; slot < CParty::kMaxMembers; ++slot)
            Party().DeleteMember(slot);
        for (size_t i = 0; i < ids.size(); ++i)
            Party().CreateMember(static_cast<int16_t>(i + 1), ids[i]);
        Party().SetMemberCount(static_cast<int16_t>(ids.size() + 1));
    }
    RecordingLandmark& Make(int32_t landmarkId)
    {
        Travel().SetLandmarkId(landmarkId);
        landmark = std::make_unique<RecordingLandmark>(CRect(0, 0, 480, 640));
        return *landmark;
    }
    // Scripts the draws of CUtil::Random (each checked against its range).
    void Draws(const std::vector<qmtest::CheckedDraws::Draw>& draws) { script.Script(draws); }
    static bool Send(CLandmark& frame, int32_t id, MsgWord p1 = 0, MsgWord p2 = 0)
    {
        CMessage m(id, p1, p2, -1);
        return frame.HandleMessage(m, nullptr);
    }
    static bool Has(CLandmark& frame, int32_t id)
    {
        return frame.GetScreen() && frame.GetScreen()->FindObject(CBaseObj::kAnyKind, id);
    }

    std::unique_ptr<CFrame> gameWindow = std::make_unique<CFrame>(4, 1, CRect(0, 0, 480, 640), false);
    std::unique_ptr<CModuleMgr> manager;
    std::unique_ptr<RecordingLandmark> landmark;
    qmtest::CheckedDraws script;
    shelltest::Log sounds;
};

TEST_F(LandmarkModule, AStoreVariantHasTheStoreAndItsOutfitsOthersTheirNodesMarket)
{
    struct Case {
        int32_t id;
        bool store;
    } cases[] = {{20105, true}, {10105, true}, {10201, true}, {10010, false}, {10300, false}, {-1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CLandmark& frame = Make(c.id);
        EXPECT_EQ(frame.GetId(), CLandmark::kFrameId);
        EXPECT_EQ(frame.GetMarket() != nullptr, c.store);
        for (int16_t i = 0; i < 3; ++i) {
            ASSERT_EQ(frame.GetOutfitMarket(i) != nullptr, c.store) << i;
            if (c.store) {
                EXPECT_EQ(frame.GetOutfitValue(i), frame.GetOutfitMarket(i)->GetStockValue()) << i;
            }
        }
        if (c.store) {
            EXPECT_GT(frame.GetMarket()->GetItemCount(), 0);
        }
    }
}

TEST_F(LandmarkModule, ARandomCharacterLandmarkShowsACompanionAndTwoOtherTravellers)
{
    // No companion: person 0 and the first character list; then the other two drawn from the
    // eight travellers, again while one repeats a person or a screen (2 and 19 share 15834).
    SetCompanions({});
    Draws({{0, 7, 0}, {0, 7, 0}, {0, 7, 7}});
    CLandmark& alone = Make(CLandmark::kRandomCharacters);
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_EQ(alone.GetCharacterId(0), 0);
    EXPECT_EQ(alone.GetCharacterScreen(0), 15831);
    EXPECT_EQ(alone.GetCharacterId(1), 2);
    EXPECT_EQ(alone.GetCharacterScreen(1), 15834);
    EXPECT_EQ(alone.GetCharacterId(2), 13);
    EXPECT_EQ(alone.GetCharacterScreen(2), 15832);
    EXPECT_EQ(alone.GetRandomState(), CLandmark::kMusicPending);

    // One companion is taken without a draw; the others are drawn among the travellers who are
    // not companions (seven left).
    SetCompanions({4});
    Draws({{0, 6, 0}, {0, 6, 1}});
    CLandmark& one = Make(CLandmark::kRandomCharacters);
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_EQ(one.GetCharacterId(0), 4);
    EXPECT_EQ(one.GetCharacterScreen(0), Party().GetMember(1)->GetCharacterScreen()) << "the record's list";
    EXPECT_EQ(one.GetCharacterId(1), 2);
    EXPECT_EQ(one.GetCharacterId(2), 3);

    // Two companions, one of them not with the party any more (status 1): the other is taken.
    SetCompanions({4, 6});
    Party().GetMember(1)->SetStatus(1);
    Draws({{0, 5, 0}, {0, 5, 1}});
    EXPECT_EQ(Make(CLandmark::kRandomCharacters).GetCharacterId(0), 6);
}

TEST_F(LandmarkModule, WithoutOtherTravellersTheDrawsEndAndCyclingSkipsTheEmptyCharacters)
{
    // Nobody besides the companion: characters 1 and 2 stay 0 without a draw.
    Travel().SetTable({4});
    SetCompanions({4});
    Draws({});
    CLandmark& frame = Make(CLandmark::kRandomCharacters);
    EXPECT_EQ(frame.GetCharacterId(1), 0);
    EXPECT_EQ(frame.GetCharacterScreen(1), 0);
    EXPECT_EQ(frame.GetCharacterScreen(2), 0);
    Send(frame, CLandmark::kMsgNextCharacter);
    EXPECT_EQ(frame.GetCharacterIndex(), 0);

    // One other traveller whose list is the first character's (no companion: 15831): after
    // 3001 draws the repeated list is taken; the third character has nobody left.
    Travel().SetTable({10});
    SetCompanions({});
    std::vector<std::array<int32_t, 3>> draws(3001, {0, 0, 0});
    Draws(draws);
    CLandmark& repeated = Make(CLandmark::kRandomCharacters);
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_EQ(repeated.GetCharacterId(1), 10);
    EXPECT_EQ(repeated.GetCharacterScreen(1), 15831);
    EXPECT_EQ(repeated.GetCharacterId(2), 0);
}

TEST_F(LandmarkModule, CyclingWrapsAndShowsEachCharactersList)
{
    SetCompanions({});
    Draws({{0, 7, 0}, {0, 7, 7}});
    CLandmark& frame = Make(CLandmark::kRandomCharacters);
    ASSERT_EQ(frame.GetCharacterScreen(1), 15834);
    ASSERT_EQ(frame.GetCharacterScreen(2), 15832);
    Send(frame, CLandmark::kMsgPreviousCharacter);
    EXPECT_EQ(frame.GetCharacterIndex(), 2);
    ASSERT_NE(frame.GetScreen(), nullptr);
    EXPECT_EQ(frame.GetScreen()->GetId(), 15832);
    // Person 13's list shows 562 (the character's element) and, not being a companion, 582.
    EXPECT_TRUE(Has(frame, 562));
    EXPECT_TRUE(Has(frame, 582));
    EXPECT_FALSE(Has(frame, 556));
    EXPECT_FALSE(Has(frame, 563));
    Send(frame, CLandmark::kMsgNextCharacter);
    EXPECT_EQ(frame.GetCharacterIndex(), 0);
    EXPECT_EQ(frame.GetScreen()->GetId(), 15831);
}

TEST_F(LandmarkModule, PresenceRulesRenumberTheElementsOfAbsentPersons)
{
    using landmark::ApplyPresenceRules;
    const auto listOf = [](std::initializer_list<int32_t> ids) {
        std::string text;
        for (int32_t id : ids)
            text += "1, " + std::to_string(id) + ", 0, 0x9, 0,0, 0,0, 0,0,1,1\n";
        return std::make_unique<CBTplList>(deftext::MakeBlock(text, "TPL", 1));
    };
    struct Case {
        const char* what;
        int32_t listId;
        std::vector<int16_t> listed;
        int16_t shown;
        bool member;
        std::vector<int32_t> renumbered;
    } cases[] = {
        {"town list 10114, 16 absent", 10114, {1, 2}, 0, true, {545}},
        {"town list 10113, all there", 10113, {10, 18, 11}, 0, true, {}},
        {"15831 showing 10 at index 1", 15831, {}, 10, false, {550, 570}},
        {"15831 showing 10 at index 0", 15831, {}, 10, true, {550, 570, 579}},
        {"15831 showing nobody", 15831, {}, 0, true, {550, 559, 570, 579}},
        {"15836 serves nobody", 15836, {}, 0, true, {}},
        {"another list", 20100, {}, 0, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto list = listOf({545, 530, 539, 547, 540, 550, 559, 570, 579});
        ApplyPresenceRules(
            *list, c.listId,
            [&c](int16_t id) { return std::find(c.listed.begin(), c.listed.end(), id) != c.listed.end(); },
            c.shown, c.member);
        std::vector<int32_t> renumbered;
        for (int32_t i = 0; list->GetAt(i); ++i)
            if (list->GetIdAt(i) < 0)
                renumbered.push_back(-list->GetIdAt(i));
        std::sort(renumbered.begin(), renumbered.end());
        EXPECT_EQ(renumbered, c.renumbered);
    }
    EXPECT_EQ(landmark::CharacterScreenOf(16), 15839);
    EXPECT_EQ(landmark::CharacterScreenOf(5), 0);
    EXPECT_TRUE(landmark::ScreenServesPerson(15835, 18));
    EXPECT_FALSE(landmark::ScreenServesPerson(15836, 18));
}

TEST_F(LandmarkModule, TheFramesMessagesShowScreensAndOverlays)
{
    CLandmark& frame = Make(70001);
    ASSERT_NE(frame.GetScreen(), nullptr);
    EXPECT_EQ(frame.GetScreen()->GetId(), 70001);

    // 308: the overlay in place of the old object.
    EXPECT_FALSE(Send(frame, CLandmark::kMsgShowList, 7, 70002));
    EXPECT_FALSE(Has(frame, 7));
    EXPECT_TRUE(Has(frame, 72));

    // 295: below morale 35 p1 names the overlay, else p2.
    Party().AddMorale(static_cast<int16_t>(34 - Party().GetMorale()));
    Send(frame, CLandmark::kMsgOverlayByMorale, 70003, 70002);
    EXPECT_TRUE(Has(frame, 73));
    Party().AddMorale(1);
    Send(frame, CLandmark::kMsgOverlayKeepMusic, 8, 70003);
    EXPECT_FALSE(Has(frame, 8));

    // 296: the first meeting shows p2 and marks the person; the next shows p2 + 1.
    Send(frame, CLandmark::kMsgMeetPerson, 4, 70001 + 1);
    EXPECT_EQ(Travel().GetPersonVisited(Travel().FindPerson(4)), 1);
    Send(frame, CLandmark::kMsgMeetPerson, 4, 70001 + 1);
    EXPECT_EQ(Travel().GetPersonVisited(Travel().FindPerson(4)), 1);

    // 307: another screen; a suspended module does nothing and answers true.
    frame.Suspend();
    EXPECT_TRUE(Send(frame, CLandmark::kMsgLoadScreen, 70004));
    EXPECT_EQ(frame.GetScreen()->GetId(), 70001);
    frame.Resume();
    EXPECT_FALSE(Send(frame, CLandmark::kMsgLoadScreen, 70004));
    EXPECT_EQ(frame.GetScreen()->GetId(), 70004);
    EXPECT_FALSE(Send(frame, CLandmark::kMsgNothing, 1));
    EXPECT_FALSE(Send(frame, 9999));
}

TEST_F(LandmarkModule, TransitionsRunByKindAndMode)
{
    RecordingLandmark& frame = Make(70001);
    struct Case {
        int32_t kind, mode;
        std::vector<std::array<int32_t, 3>> runs;
    } cases[] = {
        {0, 0, {{0x4000, 2560, 20}}},
        {1, 1, {{0x5000, 2560, 8}}},
        {0, 2, {{0x4000, 2560, 20}, {0x4000, 2304, 20}}},
        {1, 3, {{0x5000, 2304, 8}}},
        {0, 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        frame.transitions.clear();
        Send(frame, CLandmark::kMsgTransition, c.kind, c.mode);
        EXPECT_EQ(frame.transitions, c.runs);
        EXPECT_EQ(frame.GetChildren()->GetCount(), 1) << "the black box is gone again";
    }
    frame.transitions.clear();
    Send(frame, CLandmark::kMsgTransition, 2, 0);
    EXPECT_TRUE(frame.transitions.empty());
    const auto& log = plat::GetScriptedMessageBoxes().Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, "Unknown Transition: 2\n");
    EXPECT_EQ(log[0].caption, "CLandmark::DoTransition.");
}

TEST_F(LandmarkModule, MusicKeepsPlayingTheSamePieceAndARandomLandmarkDrawsItsOnce)
{
    CLandmark& frame = Make(70001);
    Send(frame, CLandmark::kMsgMusic, 470);
    Send(frame, CLandmark::kMsgMusic, 470);
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "470:play loop") +
                  std::count(sounds.begin(), sounds.end(), "470:play"),
              1);
    EXPECT_EQ(frame.GetMusicId(), 470);
    // 308 forgets the music: the same piece starts again.
    Send(frame, CLandmark::kMsgShowList, 7, 70002);
    sounds.clear();
    Send(frame, CLandmark::kMsgMusic, 470);
    EXPECT_FALSE(sounds.empty());
    Send(frame, CLandmark::kMsgMusic, 0);
    EXPECT_EQ(frame.GetMusicId(), 0);

    SetCompanions({});
    Draws({{0, 7, 0}, {0, 7, 7}, {0, 2, 2}});
    CLandmark& random = Make(CLandmark::kRandomCharacters);
    Send(random, CLandmark::kMsgMusic, 1234);
    EXPECT_EQ(random.GetMusicId(), 480);
    Send(random, CLandmark::kMsgMusic, 1234);
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_EQ(random.GetRandomState(), CLandmark::kMusicStarted);
}

TEST_F(LandmarkModule, CharactersAreToldOfATradeWhileStillOnTheScreen)
{
    CLandmark& frame = Make(70001);
    std::vector<int32_t> told;
    // The first character's stop actions replace the whole screen: the second, gone with
    // the old screen, is not told.
    frame.GetScreen()->AddChild(new CharacterStandIn(501, told, [&frame] { frame.LoadScreen(70004); }),
                                false);
    frame.GetScreen()->AddChild(new CharacterStandIn(502, told), false);
    {
        CDispatchScope scope; // frames destroyed meanwhile are freed after it, as in a dispatch
        frame.NotifyCharacters();
    }
    EXPECT_EQ(told, (std::vector<int32_t>{501}));
    EXPECT_EQ(frame.GetScreen()->GetId(), 70004);

    // One character deleting another that is still to be told.
    told.clear();
    CFrame* second = new CharacterStandIn(512, told);
    frame.GetScreen()->AddChild(new CharacterStandIn(511, told, [second] { second->Destroy(); }), false);
    frame.GetScreen()->AddChild(second, false);
    frame.GetScreen()->AddChild(new CharacterStandIn(513, told), false);
    {
        CDispatchScope scope;
        frame.NotifyCharacters();
    }
    EXPECT_EQ(told, (std::vector<int32_t>{511, 513}));
}

} // namespace
