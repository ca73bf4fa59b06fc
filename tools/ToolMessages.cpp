#include "tools/ToolMessages.h"

#include "platform/TextEscape.h"

void WriteToolError(std::ostream& err, std::string_view tool, std::string_view text)
{
    plat::WriteErrorLine(err, tool, text);
}
