// Entry point of the qmimg program; the work is in tools/QmImg.cpp.
#include <iostream>

#include "tools/QmImg.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmImg(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
