#include "cli/Cli.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    return lumetra::cli::RunCli(argc, argv, std::cout, std::cerr);
}
