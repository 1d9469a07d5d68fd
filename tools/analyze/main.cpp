#include <iostream>
#include <string>
#include <vector>

#include "tools/analyze/analyzer.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunAnalyzer(args, std::cin, std::cout, std::cerr);
}
