#pragma once
// Runs a command-line tool's code in the test process and keeps what it said, so a test
// checks the exit status and both outputs of one call:
//
//   const qmtest::ToolRun r = qmtest::RunTool(RunQmLib, {"list", lib.string()});
//   EXPECT_EQ(r.status, 0);
#include <ostream>
#include <string>
#include <vector>

namespace qmtest {

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

// A tool's code as the programs' mains call it: arguments, standard output and error.
using ToolMain = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

ToolRun RunTool(ToolMain tool, const std::vector<std::string>& args);

} // namespace qmtest
