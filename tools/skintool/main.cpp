#include <iostream>

#include "SkinTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return qs::skintool::run(args, std::cout, std::cerr);
}
