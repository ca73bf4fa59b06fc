#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/EventObj.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/resources/AnimCueList.h"
#include "engine/resources/FormatList.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

// The image strip animation as the cue list sees it: it records what it is asked.
class StandInAnimation : public CAnimCueTarget, public CEventObj {
public:
    StandInAnimation() : CEventObj(6, 500, nullptr) {}
    void SelectSourceFrame(int32_t frame) override { log.push_back("frame " + std::to_string(frame)); }
    void SetSwiftness(int16_t swiftness) override { log.push_back("swiftness " + std::to_string(swiftness)); }
    uint32_t GetClockTime() const override { return clock; }
    void SetWakeTime(uint32_t time) override { log.push_back("wake " + std::to_string(time)); }
    CBaseObj* GetCueSender() override { return this; }
    bool HandleMessage(CMessage&, CBaseObj*) override { return false; }

    uint32_t clock = 1000;
    std::vector<std::string> log;
};

// A live object that records the messages it receives.
class Receiver : public CEventObj {
public:
    Receiver(uint32_t kind, int32_t id, std::vector<std::string>& log)
        : CEventObj(kind, id, nullptr), log_(log)
    {
        RegisterLiveObject(this);
    }
    bool HandleMessage(CMessage& m, CBaseObj* sender) override
    {
        log_.push_back("message " + std::to_string(m.GetId()) + " (" + std::to_string(m.GetParam(0)) + ", " +
                       std::to_string(m.GetParam(1)) + ") to " + std::to_string(GetId()) + " from " +
                       std::to_string(sender ? sender->GetId() : 0));
        return true;
    }

private:
    std::vector<std::string>& log_;
};

class AnimCueListTest : public ::testing::Test {
protected:
    void SetUp() override { deftext::InstallEngineStrings(); }

    // A library holding the cue format and cue record 20 with the given cues, one
    // "command, frame, target, arg1, arg2" each. Cues are separated by commas: a sign at the
    // start of the next line would otherwise continue an expression.
    static void Cues(const std::vector<std::string>& cues)
    {
        std::string text;
        for (const std::string& c : cues)
            text += c + ",\n";
        deftext::AddFolderLibrary({{"MCD", 0, "list short long long long long endlist"}, {"MCD", 20, text}});
    }
};

} // namespace

TEST_F(AnimCueListTest, CommandsActOnTheAnimation)
{
    Cues({"-45, 1, 0, 7, 0", "-44, 2, 0, 12, 0", "-43, 3, 0, 250, 0", "300, 4, 77, 5, 6", "-46, 5, 0, 0, 0",
          "-45, 6, 0, 9, 0"});
    StandInAnimation anim;
    std::vector<std::string> received;
    Receiver other(3, 76, received), target(9, 77, received);
    CAnimCueList list(&anim, 20, 0xFFFFFFFF);
    ASSERT_EQ(list.GetCueCount(), 6);
    ASSERT_TRUE(list.IsActive());
    for (int32_t frame = 0; frame <= 6; ++frame)
        list.OnFrame(frame);
    EXPECT_EQ(anim.log, (std::vector<std::string>{"frame 7", "swiftness 12", "wake 1250"}));
    EXPECT_EQ(received, std::vector<std::string>{"message 300 (5, 6) to 77 from 500"});
    // -46 ends the cues: the last cue is never taken.
    EXPECT_FALSE(list.IsActive());
    EXPECT_EQ(list.GetNextCue(), 6);
}

TEST_F(AnimCueListTest, AtMostOneCuePerCall)
{
    Cues({"-44, 2, 0, 1, 0", "-44, 2, 0, 2, 0", "-44, 3, 0, 3, 0"});
    StandInAnimation anim;
    CAnimCueList list(&anim, 20, 0xFFFFFFFF);
    list.OnFrame(1); // not the next cue's frame
    list.OnFrame(2);
    EXPECT_EQ(anim.log, std::vector<std::string>{"swiftness 1"});
    list.OnFrame(2);
    EXPECT_EQ(anim.log, (std::vector<std::string>{"swiftness 1", "swiftness 2"}));
    list.OnFrame(2);
    list.OnFrame(3);
    EXPECT_EQ(anim.log.back(), "swiftness 3");
    EXPECT_FALSE(list.IsActive());
}

TEST_F(AnimCueListTest, SeekFrameFindsTheFirstCueAtOrAfterTheFrame)
{
    Cues({"-45, 2, 0, 1, 0", "-45, 5, 0, 2, 0", "-45, 5, 0, 3, 0", "-45, 9, 0, 4, 0"});
    StandInAnimation anim;
    CAnimCueList list(&anim, 20, 0xFFFFFFFF);
    list.SeekFrame(3);
    EXPECT_TRUE(list.IsActive());
    EXPECT_EQ(list.GetNextCue(), 1);
    list.OnFrame(5);
    EXPECT_EQ(anim.log, std::vector<std::string>{"frame 2"});
    list.SeekFrame(10);
    EXPECT_FALSE(list.IsActive());
    list.OnFrame(9);
    EXPECT_EQ(anim.log.size(), 1u);
    list.SeekFrame(0);
    EXPECT_EQ(list.GetNextCue(), 0);
}

TEST_F(AnimCueListTest, EmptyListsAreInactive)
{
    Cues({});
    StandInAnimation anim;
    CAnimCueList empty(&anim);
    EXPECT_FALSE(empty.IsActive());
    EXPECT_EQ(empty.GetCueCount(), 0);
    empty.OnFrame(0);
    EXPECT_TRUE(anim.log.empty());

    // A record with a count of 0.
    deftext::AddFolderLibrary({{"MCD", 21, "0"}}, "More");
    CAnimCueList none(&anim, 21, 0xFFFFFFFF);
    EXPECT_EQ(none.GetCueCount(), 0);
    EXPECT_FALSE(none.IsActive());
}

TEST_F(AnimCueListTest, ACountLargerThanTheRecordIsCut)
{
    // A record compiled without the list format: a count of 1000 and one cue's values.
    deftext::AddFolderLibrary(
        {{"MCD", 0, "long short long long long long"}, {"MCD", 22, "1000, -45, 0, 0, 4, 0"}});
    StandInAnimation anim;
    CAnimCueList list(&anim, 22, 0xFFFFFFFF);
    EXPECT_EQ(list.GetCueCount(), 1);
    list.OnFrame(0);
    EXPECT_EQ(anim.log, std::vector<std::string>{"frame 4"});
}

TEST_F(AnimCueListTest, LoadReplacesTheCues)
{
    deftext::AddFolderLibrary({{"MCD", 0, "list short long long long long endlist"},
                               {"MCD", 30, "-45, 0, 0, 1, 0"},
                               {"MCD", 31, "-44, 0, 0, 2, 0, -44, 1, 0, 3, 0"}});
    StandInAnimation anim;
    CAnimCueList list(&anim, 30, 0xFFFFFFFF);
    list.OnFrame(0);
    list.Load(31, 0xFFFFFFFF);
    EXPECT_EQ(list.GetCueCount(), 2);
    EXPECT_TRUE(list.IsActive());
    list.OnFrame(0);
    list.OnFrame(1);
    EXPECT_EQ(anim.log, (std::vector<std::string>{"frame 1", "swiftness 2", "swiftness 3"}));
}

TEST_F(AnimCueListTest, AMissingRecordIsAFatalReport)
{
    Cues({});
    StandInAnimation anim;
    EXPECT_FALSE(deftext::FatalReport([&] { CAnimCueList list(&anim, 99, 0xFFFFFFFF); }).empty());
}
