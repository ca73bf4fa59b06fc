// The control bar in the game started on the sample data: the elements it puts up over the trip
// status depend on where the party stands.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/base/CtrlBarFrm.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/Travel.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

// A copy of node 8 (the trading post, landmark 3) as node 50 at landmark 4.
constexpr int16_t kLandmarkFourNode = 50;
constexpr int32_t kTripStatusModule = 2;

class ControlBar : public shelltest::SampleGameScreen {
protected:
    void PrepareData(const fs::path& data) override
    {
        const fs::path nodes = data / "QM3Data.qmd" / "NOD";
        std::string node = qmtest::ReadWholeFile(nodes / "000008.NOD");
        const std::string from = "\n8, 9, 1, 2, 0, 3,";
        const size_t at = node.find(from);
        ASSERT_NE(at, std::string::npos);
        node.replace(at, from.size(), "\n50, 9, 1, 2, 0, 4,");
        qmtest::ReplaceFile(nodes / qmtest::FolderLibraryWriter::FileName("NOD", kLandmarkFourNode), node);
    }
};

TEST_F(ControlBar, TheTripStatusKeepsTheTrailsElementsAtALandmarkFourNode)
{
    auto* travel = GetModuleMgr()->GetModuleAs<CTravel>(CModuleMgr::kTravel);
    CCtrlBarFrm* bar = GetModuleMgr()->GetCtrlBar();
    ASSERT_NE(travel, nullptr);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(travel->GetRouteNode(), nullptr);
    bar->SetupForModule(kTripStatusModule);
    EXPECT_EQ(bar->GetElementSet(), 55002) << "no route node yet";
    struct Case {
        int16_t node;
        int32_t set;
    };
    for (const Case& c : {Case{8, 55002}, Case{kLandmarkFourNode, 50000}, Case{4, 55002}}) {
        travel->PlaceOnNode(c.node);
        bar->SetupForModule(kTripStatusModule);
        EXPECT_EQ(bar->GetElementSet(), c.set) << "node " << c.node;
    }
}

} // namespace
