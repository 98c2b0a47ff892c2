#ifndef LIFEBOAT_SIM_OPTIONS_H
#define LIFEBOAT_SIM_OPTIONS_H

#include <string>
#include <vector>

#include "BuildTree.h"
#include "DisplaySettings.h"
#include "InputSettings.h"

namespace sim {

// lifeboat-sim [--state DIR] [--reset] [--headless] [--program PATH]
//              [--rotation DEG] [--flip] [--language CODE] [--keyboard]
//              [--no-touch] [SCRIPT]
//              [-- PROGRAM ARGUMENTS...]
struct Options {
    std::string stateDir;
    bool reset = false;
    bool headless = false;
    bool help = false;
    std::string program;
    DisplaySettings display;
    InputSettings inputs;
    // Headless commands from this file instead of standard input.
    std::string script;
    std::vector<std::string> programArguments;
};

// Defaults come from the build tree. Throws std::invalid_argument with the
// reason when the command line cannot be understood.
Options parseOptions(int argc, char** argv, const BuildTree& build);

std::string usage();

} // namespace sim

#endif
