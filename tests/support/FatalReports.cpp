#include "tests/support/FatalReports.h"

#include "platform/Fatal.h"
#include "platform/MessageBox.h"

namespace qmtest {

std::string FatalText(const std::function<void()>& call)
{
    try {
        call();
    } catch (const plat::FatalError& e) {
        return e.what();
    }
    return "(returned)";
}

std::string FatalBoxText(const std::function<void()>& call, const std::string& ifReturned)
{
    try {
        call();
    } catch (const plat::FatalError&) {
        const auto& log = plat::GetScriptedMessageBoxes().Log();
        return log.empty() ? "(no box)" : log.back().text;
    }
    return ifReturned;
}

} // namespace qmtest
