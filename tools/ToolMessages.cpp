#include "tools/ToolMessages.h"

#include "platform/TextEscape.h"

void WriteToolError(std::ostream& err, std::string_view tool, std::string_view text)
{
    err << tool << ": " << plat::ControlBytesEscaped(text) << '\n';
}
