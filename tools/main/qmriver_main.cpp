// Entry point of the qmriver program; the work is in tools/river/QmRiver.cpp.
#include <iostream>

#include "tools/river/QmRiver.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmRiver(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
