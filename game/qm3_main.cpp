// The game program's entry point.
#include <iostream>
#include <string>
#include <vector>

#include "game/program/Qm3Program.h"

int main(int argc, char** argv)
{
    return RunQm3(std::vector<std::string>(argv, argv + argc), std::cin, std::cout, std::cerr);
}
