// Entry point of the qmsnd program; the work is in tools/QmSnd.cpp.
#include <iostream>

#include "tools/QmSnd.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmSnd(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
