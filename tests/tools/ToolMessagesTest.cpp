#include <gtest/gtest.h>

#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmImg.h"
#include "tools/QmLib.h"
#include "tools/QmSave.h"
#include "tools/QmScreen.h"
#include "tools/QmSeq.h"
#include "tools/QmSmk.h"
#include "tools/QmSnd.h"

namespace {

struct BadNameCase {
    const char* tool;
    qmtest::ToolMain main;
    std::vector<std::string> args; // "NAME" stands for the missing file's path
};

} // namespace

// A file name holding a line feed, DEL and a byte of UTF-8 is echoed with those bytes as \xHH:
// the error stays one line, whatever the name.
TEST(ToolMessages, BytesOfABadNameAreEscapedInTheOneLineError)
{
    const std::string name = (qmtest::TempDir() / "bad\nname\x7F\xC3\xA9").string();
    const std::string shown = (qmtest::TempDir() / "bad\\x0Aname\\x7F\\xC3\\xA9").string();
    const BadNameCase cases[] = {
        {"qmlib", RunQmLib, {"list", "NAME"}},
        {"qmimg", RunQmImg, {"show", "NAME", "CBM", "1", "out.png"}},
        {"qmscreen", RunQmScreen, {"NAME", "--tpl", "1", "out.png"}},
        {"qmsnd", RunQmSnd, {"info", "NAME", "1"}},
        {"qmsmk", RunQmSmk, {"info", "NAME"}},
        {"qmseq", RunQmSeq, {"show", "NAME", "SEQ", "1"}},
        {"qmsave", RunQmSave, {"NAME"}},
    };
    for (const BadNameCase& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& a : args)
            if (a == "NAME")
                a = name;
        const qmtest::ToolRun r = qmtest::RunTool(c.main, args);
        EXPECT_EQ(r.status, 1) << c.tool;
        EXPECT_EQ(r.err.rfind(std::string(c.tool) + ": ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_NE(r.err.find(shown), std::string::npos) << r.err;
    }
}
