// Entry point of the qmscreen program; the work is in tools/QmScreen.cpp.
#include <iostream>

#include "platform/Fatal.h"
#include "tools/QmScreen.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    // A fatal report of the engine (a missing list, bad template text) ends the run with an
    // error line.
    plat::SetFatalHook(plat::ThrowingFatalHook());
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmScreen(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
