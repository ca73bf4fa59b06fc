// The launcher program's entry point.
#include <iostream>
#include <string>
#include <vector>

#include "launcher/Vespar32Program.h"

int main(int argc, char** argv)
{
    return tour::RunVespar32(std::vector<std::string>(argv, argv + argc), std::cin, std::cout, std::cerr);
}
