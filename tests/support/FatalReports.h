#pragma once
// What a call that ends the program with a fatal report leaves behind. Tests run with the
// throwing fatal hook, so the call throws plat::FatalError instead of ending the program.
#include <functional>
#include <string>

namespace qmtest {

// The text handed to the fatal hook, or "(returned)" when the call returns.
std::string FatalText(const std::function<void()>& call);

// The text of the last message box shown before the fatal report ("(no box)" when none was
// shown), or ifReturned when the call returns.
std::string FatalBoxText(const std::function<void()>& call, const std::string& ifReturned = "");

} // namespace qmtest
