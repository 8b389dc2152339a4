#include <iostream>

#include "tools/toolcommands.h"

int main(int argc, char** argv) { return orb8::RunOrb8Tool(argc, argv, std::cout, std::cerr); }
