// Entry point of the qmseq program; the work is in tools/QmSeq.cpp.
#include <iostream>

#include "tools/QmSeq.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunQmSeq(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
