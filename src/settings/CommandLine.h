#pragma once
// The program's command-line options.
#include <string>
#include <vector>

struct CommandLineOptions {
    bool startUp = false;     // "/StartUp": started by Windows at log-on
    bool inactivity = false;  // "-inactivity": use the inactivity timer even where a standby timer exists
    bool debug = false;       // "-debug"
    bool clear = false;       // "-clear": delete all stored settings first
    bool quit = false;        // "-q" or "-quit": end once start-up is over
    bool detect = false;      // "-detect": probe speed steps even with a built-in table
    bool bb = false;          // "-bb": debug window starts with its BB test on
};

// Scans arguments 1..n (without the program name). Case does not matter, an argument must
// equal an option as a whole, options may appear anywhere and repeatedly; others are ignored.
CommandLineOptions ScanCommandLine(const std::vector<std::string>& arguments);
