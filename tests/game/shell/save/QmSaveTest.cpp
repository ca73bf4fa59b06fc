#include <gtest/gtest.h>

#include <sstream>

#include "tests/game/shell/save/SaveFixture.h"
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

TEST_F(QmSaveTest, PrintsEveryItemOfASavedGameInFileOrder)
{
    host_.travel = true;
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
    EXPECT_EQ(run.out, "header VORT QMK3 257\n"
                       "name \"Ma \\\"Tex\\\" Caf\\xE9\"\n"
                       "disc 2\n"
                       "diary 20 \"Day one\\r\\n\\tCold\\\\wet\\r\\n\"\n"
                       "travel\n"
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
