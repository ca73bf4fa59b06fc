// Entry point of the qmlib program; the work is in tools/QmLib.cpp.
#include <iostream>

#include "platform/Fatal.h"
#include "tools/QmLib.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    // A fatal report of the engine (a bad record) ends the command with an error line.
    plat::SetFatalHook(plat::ThrowingFatalHook());
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmLib(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
