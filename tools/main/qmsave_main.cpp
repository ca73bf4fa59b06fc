// Entry point of the qmsave program; the work is in tools/QmSave.cpp.
#include <iostream>

#include "tools/QmSave.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmSave(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
