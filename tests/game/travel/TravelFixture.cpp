#include "tests/game/travel/TravelFixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/HealthCond.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {

ScriptedDraws::ScriptedDraws()
{
    CUtil::SetDrawSource([this](int32_t lo, int32_t hi, int32_t n) { return Next(lo, hi, n); });
}

ScriptedDraws::~ScriptedDraws()
{
    CUtil::SetDrawSource(nullptr);
    for (const Entry& e : draws_)
        ADD_FAILURE() << "scripted draw left over: (" << e.lo << ", " << e.hi << ", " << e.n << ") -> "
                      << e.value;
}

ScriptedDraws& ScriptedDraws::Draw(int32_t lo, int32_t hi, int32_t value, int32_t n)
{
    draws_.push_back({lo, hi, n, value});
    return *this;
}

int32_t ScriptedDraws::Next(int32_t lo, int32_t hi, int32_t n)
{
    if (draws_.empty()) {
        ADD_FAILURE() << "unscripted draw (" << lo << ", " << hi << ", " << n << ")";
        return lo;
    }
    const Entry e = draws_.front();
    draws_.pop_front();
    EXPECT_TRUE(e.lo == lo && e.hi == hi && e.n == n)
        << "draw (" << lo << ", " << hi << ", " << n << ") where (" << e.lo << ", " << e.hi << ", " << e.n
        << ") was scripted";
    return e.value;
}

bool RecordingTrip::IsEventPossible(int16_t code) const
{
    return std::find(possible.begin(), possible.end(), code) != possible.end();
}

void RecordingTrip::SetSceneFlag(int16_t flag, bool value)
{
    ASSERT_GE(flag, 0);
    ASSERT_LT(flag, 27);
    flags[static_cast<size_t>(flag)] = value ? 1 : 0;
}

OnsetListener::OnsetListener() : CEventObj(1, 93500, nullptr) { RegisterLiveObject(this); }

bool OnsetListener::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() != CHealthCond::kMsgOnset)
        return false;
    onsets.emplace_back(message.GetParam(0), message.GetParam(1));
    if (onOnset)
        onOnset(reinterpret_cast<CPartyMember*>(message.GetParam(0)),
                reinterpret_cast<CHealthCond*>(message.GetParam(1)));
    return false;
}

namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

void TravelTest::SetUp()
{
    writer_.emplace(qmtest::TempDir() / "Data");
    trip_.flags.fill(-1);
    const std::filesystem::path data = qmtest::SourceDir() / "data" / "game" / "QM3Data";
    for (const char* type : {"IVT", "FVT", "OCP", "PPL", "HLT", "HIL", "NOD", "RVR", "WTH", "EVT", "STO", "PRC"})
        writer_->Add(type, 0, ReadText(data / type / qmtest::FolderLibraryWriter::FileName(type, 0)));
    AddStrings(CPartyMember::kRandomNameList, {"Ann", "Bo", "Cy"});
}

void TravelTest::NoOnceFlags(ScriptedDraws& draws)
{
    draws.Draw(1, 100, 90).Draw(35, 75, 50); // kind 28
    draws.Draw(1, 100, 90).Draw(35, 75, 50); // kind 17
    draws.Draw(1, 100, 90).Draw(1, 20, 10);  // kind 34
}

std::unique_ptr<CParty> TravelTest::NewParty()
{
    ScriptedDraws draws;
    draws.Draw(15, 20, 17).Draw(1, 12, 3).Draw(1, 28, 9).Draw(1, 26, 4);
    draws.Draw(0, 2, 1); // the name
    NoOnceFlags(draws);
    auto party = std::make_unique<CParty>();
    trip_.party = party.get();
    return party;
}

void TravelTest::Join(CParty& party, int16_t slot, int16_t id)
{
    ScriptedDraws draws;
    NoOnceFlags(draws);
    party.CreateMember(slot, id);
    party.SetMemberCount(std::max<int16_t>(party.CountMembers(false), static_cast<int16_t>(slot + 1)));
}

void TravelTest::AddItemType(int16_t type, int16_t units, int32_t weight, int32_t price, int16_t shelf,
                             std::vector<int16_t> tags, int16_t category)
{
    std::ostringstream text;
    text << type << ", " << units << ", " << weight << ", " << price << ", " << shelf << ", " << category;
    tags.resize(10, 0);
    for (int16_t t : tags)
        text << ", " << t;
    AddRecord("IVT", type, text.str());
}

void TravelTest::AddHealth(int32_t kind, const Health& h)
{
    std::ostringstream text;
    // Values are separated by commas: "5 -1" would read as the difference 4.
    const int16_t words[] = {h.flags,  h.v,      h.w,      0,        0,        h.incMin, h.incMax,   h.actMin,
                             h.actMax, h.recMin, h.recMax, h.sevMin, h.sevMax, h.recSev, h.recognise};
    for (int16_t word : words)
        text << word << ", ";
    text << "0, 0, 0, 0, 0, 0, 0, 0";
    AddRecord("HLT", kind, text.str());
}

void TravelTest::AddRecord(const char* type, int32_t id, const std::string& text)
{
    writer_->Add(type, id, text);
}

void TravelTest::AddStrings(int32_t id, const std::vector<std::string>& entries)
{
    std::string text;
    for (const std::string& e : entries)
        text += "\"" + e + "\"\n";
    writer_->Add("STR", id, text);
}

void TravelTest::Open()
{
    qmtest::UseTempDirAsDriveC();
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Data"));
}

} // namespace traveltest
