// Entry point of the qmsmk program; the work is in tools/QmSmk.cpp.
#include <iostream>

#include "tools/QmSmk.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmSmk(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
