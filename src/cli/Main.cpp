#include "cli/Cli.h"

int main(int argc, char** argv) { return cli::RunCli(std::vector<std::string>(argv + 1, argv + argc)); }
