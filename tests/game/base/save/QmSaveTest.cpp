#include <gtest/gtest.h>

#include <sstream>

#include "tests/game/base/save/SaveFixture.h"
#include "tests/support/TestEnv.h"
#include "tools/QmSave.h"

namespace savetest {
namespace {

class QmSaveTest : public SaveTest {
protected:
    // Runs qmsave on the file; the output, the error stream and the status.
    struct Run {
        std::string out;
        std::string err;
        int status;
    };
    static Run QmSave(const std::filesystem::path& path)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunQmSave({path.string()}, out, err);
        return {out.str(), err.str(), status};
    }
};

// Record 2 of a trip two days out: one member with one condition, one item, a weather history
// counting up and down, eight travellers, two scene flags and the route map's progress.
Bytes TravelRecord(int16_t members = 1, int16_t conditions = 1, int16_t items = 1, int16_t packages = 6)
{
    Bytes b;
    b.U32(20100).U8(0).U16s({0, 1, 2, -5, 3, 3, 12, 40, 28, 100, 90, 2, 4, 7, -6, 6, 3, 77, 4});
    b.U32(2395761).U32(2395758).U16s({1, 0, 3, -7});
    b.U16s({members}).Double(412.5).Double(0.1F, true).U16s({9, 55, 0, 1, 2}).U8(1).U16s({3, 1, 0});
    for (uint8_t i = 0; i < 15; ++i)
        b.U8(i);
    for (int16_t m = 0; m < members; ++m) {
        b.U32(12).Raw("Ann \"Ma\" Lee").U16s({3, 30, 5, 6}).U32(70000).U32(0xFFFFFFFF);
        b.U16s({800, 2, 2, 900, 10}).U8(0xFF).U8(0).U8(1).Zeros(3).U16s({-1, 7, 1, 2, 3, 4, 2, 1, 0, 0});
        b.U16s({conditions});
        for (int16_t c = 0; c < conditions; ++c)
            b.U16s({2, 40, 1, 5, 30, 3}).U8(1).U8(0).U16s({1, 10, 20, 0, 0, 23});
    }
    b.U16s({items});
    for (int16_t i = 0; i < items; ++i)
        b.U16s({132, packages, 0, -1}).Double(1.25);
    b.U16s({3, 0, 0, 0});
    for (int16_t d = 0; d < 30; ++d)
        b.U16s({static_cast<int16_t>(60 + d), static_cast<int16_t>(40 - d), static_cast<int16_t>(d % 3)});
    for (int16_t id : {1, 2, 3, 4, 6, 7, 9, 10})
        b.U16s({id, static_cast<int16_t>(id == 4 ? 5 : 0), static_cast<int16_t>(id == 4 ? -1 : 0)});
    b.U8(1).Zeros(25).U8(1);
    b.U16s({9999}).U8(1).U16s({120, -1, 33, 3});
    for (int i = 1; i < 32; ++i)
        b.U16s({-1});
    return b;
}

std::string TravelLines()
{
    std::string days;
    for (int d = 0; d < 30; ++d)
        days += "day " + std::to_string(d) + ' ' + std::to_string(60 + d) + ' ' + std::to_string(40 - d) +
                ' ' + std::to_string(d % 3) + '\n';
    std::string visited;
    for (int i = 1; i < 32; ++i)
        visited += " -1";
    return "travel\n"
           "trip 20100 0 0 1 2 -5 3 3 12 40 28 100 90 2 4 7 -6 6 3 77 4 2395761 2395758 1 0 3 -7\n"
           "party 1 412.5 0.10000000149011612 9 55 0 1 2 1 3 1 0 000102030405060708090a0b0c0d0e\n"
           "member \"Ann \\\"Ma\\\" Lee\" 3 30 5 6 70000 -1 800 2 2 900 10 ff0001000000 -1 7 1 2 3 4 2 1 0 0 "
           "1\n"
           "condition 2 40 1 5 30 3 1 0 1 10 20 0 0 23\n"
           "supplies 1\n"
           "item 132 6 0 -1 1.25\n"
           "weather 3 0 0 0\n" +
           days +
           "person 1 0 0\nperson 2 0 0\nperson 3 0 0\nperson 4 5 -1\nperson 6 0 0\nperson 7 0 0\n"
           "person 9 0 0\nperson 10 0 0\n"
           "scene 010000000000000000000000000000000000000000000000000001\n"
           "route 9999 1 120 -1 33 3" +
           visited + "\n";
}

TEST_F(QmSaveTest, PrintsEveryItemOfASavedGameInFileOrder)
{
    host_.travel = true;
    host_.travelRecord = TravelRecord().Str();
    CQM3Doc doc("Default");
    doc.SetName(std::make_unique<CStr>("Ma \"Tex\" Caf\xE9"));
    doc.SetDisc(2);
    doc.GetDiary()->SetText(CStr("Day one\r\n\tCold\\wet\r\n"));
    doc.SetLMFlag(12, 1);
    doc.SetLMFlag(-3, -70000);
    doc.SetFileSpec(Spec("slot2.qm3"));
    ASSERT_EQ(doc.Save(0, nullptr), CDoc::kOk);
    const Run run = QmSave(Host("slot2.qm3"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, std::string("header VORT QMK3 257\n"
                                   "name \"Ma \\\"Tex\\\" Caf\\xE9\"\n"
                                   "disc 2\n"
                                   "diary 20 \"Day one\\r\\n\\tCold\\\\wet\\r\\n\"\n") +
                           TravelLines() +
                           "flags 2\n"
                           "flag 12 1\n"
                           "flag -3 -70000\n"
                           "end\n");

    Write(Host("odd.qm3"), Bytes().Start(std::string(32, 'N'), -4).U16(3).Raw("xyz").Str());
    EXPECT_EQ(QmSave(Host("odd.qm3")).out,
              "header VORT QMK3 257\nname \"" + std::string(32, 'N') + "\"\ndisc -4\nend\ntrailing 3\n");
}

TEST_F(QmSaveTest, RefusesWhatTheGameWouldRefuse)
{
    const std::string start = Bytes().Start("Trail", 1).Str();
    const struct {
        const char* what;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"short header", start.substr(0, 51), "the file ends inside its header"},
        {"magic", "VORX" + start.substr(4) + Bytes().U16(3).Str(), "not a saved game (magic \"VORX\")"},
        {"type", "VORTQMK\x01" + start.substr(8) + Bytes().U16(3).Str(),
         "not a saved game of this game (type \"QMK\\x01\")"},
        {"version", Bytes().Start("Trail", 1, 0x0102).U16(3).Str(), "version 258 is not 257"},
        {"diary past the end", start + Bytes().U16(1).U32(9).Raw("short").Str(),
         "record 1 reaches past the end of the file"},
        {"half a tag", start + std::string(1, '\0'), "a record tag reaches past the end of the file"},
        {"record 0", start + Bytes().U16(0).U16(10).U16(0).U16(3).Str(),
         "record 0 at offset 52 (the game never writes it)"},
        {"unknown tag", start + Bytes().Diary("").U16(7).Str(), "unknown record tag 7 at offset 58"},
        {"no end", start + Bytes().Diary("").Str(), "no end record"},
        {"no flags", start + Bytes().U16(4).U16(0).U16(3).Str(),
         "record 4 holds 0 flags (1 to 100 are allowed)"},
        {"flag 0", start + Bytes().U16(4).U16(1).U32(0).U32(1).U16(3).Str(),
         "record 4 holds a flag with id 0"},
        {"six members", start + Bytes().U16(2).Raw(TravelRecord(6).Str()).U16(3).Str(),
         "record 2 holds 6 members (0 to 5 are allowed)"},
        {"negative members", start + Bytes().U16(2).Raw(TravelRecord(-1).Str()).U16(3).Str(),
         "record 2 holds -1 members (0 to 5 are allowed)"},
        {"negative conditions", start + Bytes().U16(2).Raw(TravelRecord(1, -2).Str()).U16(3).Str(),
         "record 2 holds a member with -2 conditions"},
        {"negative supplies", start + Bytes().U16(2).Raw(TravelRecord(1, 0, -1).Str()).U16(3).Str(),
         "record 2 holds -1 supplies"},
        {"negative packages", start + Bytes().U16(2).Raw(TravelRecord(1, 0, 1, -6).Str()).U16(3).Str(),
         "record 2 holds an item of type 132 with a negative count"},
        {"record 2 cut short", start + Bytes().U16(2).Raw(TravelRecord().Str().substr(0, 300)).Str(),
         "record 2 reaches past the end of the file"},
        // Fields that stop short of the next record (the game would read on into them).
        {"two bytes left over", start + Bytes().U16(2).Raw(TravelRecord().Str()).U16(0).U16(3).Str(),
         "record 2 ends at offset 613, not at record 4 or 3"},
        {"a diary after it", start + Bytes().U16(2).Raw(TravelRecord().Str()).Diary("").U16(3).Str(),
         "record 2 ends at offset 613, not at record 4 or 3"},
        {"nothing after it", start + Bytes().U16(2).Raw(TravelRecord().Str()).Str(),
         "record 2 ends at offset 613, not at record 4 or 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write(Host("bad.qm3"), c.bytes);
        const Run run = QmSave(Host("bad.qm3"));
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "qmsave: " + Host("bad.qm3").string() + ": " + c.message + "\n");
    }
    for (const auto& path : {Host("missing.qm3"), qmtest::TempDir()}) {
        const Run run = QmSave(path);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "qmsave: " + path.string() + ": cannot read the file\n");
    }
}

} // namespace
} // namespace savetest
