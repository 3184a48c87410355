#include <iostream>
#include <string>
#include <vector>

#include "cli/ctl_program.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kvr::runCtl(args, std::cout, std::cerr);
}
