#include "tests/support/ToolRun.h"

#include <sstream>

namespace qmtest {

ToolRun RunTool(ToolMain tool, const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    ToolRun r;
    r.status = tool(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace qmtest
