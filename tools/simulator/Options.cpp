#include "Options.h"

#include <stdexcept>

#include "KeyNames.h"

namespace sim {

Options parseOptions(int argc, char** argv, const BuildTree& build)
{
    Options options;
    options.stateDir = build.defaultState;
    options.program = build.program;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--") {
            options.programArguments.assign(argv + i + 1, argv + argc);
            break;
        } else if (arg == "--state" && hasValue) {
            options.stateDir = argv[++i];
        } else if (arg == "--program" && hasValue) {
            options.program = argv[++i];
        } else if (takeDisplayOption(argc, argv, i, options.display) ||
                   takeInputOption(argv, i, options.inputs)) {
            continue;
        } else if (arg == "--reset") {
            options.reset = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg.compare(0, 1, "-") != 0 && options.script.empty()) {
            options.script = arg;
            options.headless = true;
        } else {
            throw std::invalid_argument("unexpected argument \"" + arg + "\"");
        }
    }
    return options;
}

std::string usage()
{
    return std::string(
               "usage: lifeboat-sim [--state DIR] [--reset] [--headless] [--program PATH]\n"
               "                    [--rotation DEG] [--flip] [--keyboard] [--no-touch] [SCRIPT]\n"
               "                    [-- PROGRAM ARGUMENTS...]\n"
               "Runs lifeboat on a simulated device: an 800x480 framebuffer, a PenMount PM9000\n"
               "touch controller, a USB drive and a USB keyboard, with the device's storage\n"
               "in DIR.\n"
               "  --state DIR     the device's storage (kept between runs)\n"
               "  --reset         start from a new device: no calibration, factory data\n"
               "  --headless      no window: commands from standard input (or SCRIPT)\n"
               "  --program PATH  the program to run instead of the built lifeboat\n") +
           c_displayOptionsUsage + c_inputOptionsUsage +
           "Window: the mouse is the finger; U inserts or removes the USB drive (64 MB,\n"
           "a file system that lasts as long as the simulator),\n"
           "K plugs the keyboard in or out (while it is in, Tab, Shift, the arrows,\n"
           "Enter, Space and Escape are its keys), S saves a screenshot, Q quits.\n"
           "Headless commands: tap X Y, press X Y,\n"
           "move X Y, release X Y, wait MS, waitfor pixel X Y RRGGBB [MS],\n"
           "waitfor still [QUIET_MS [MS]], waitfor file PATTERN [MS], calibrate [MS],\n"
           "screenshot FILE.png, pixel X Y,\n"
           "usb insert [read-only] [slow] [size MB], usb remove, backup-data MB,\n"
           "expect-exit STATUS [MS],\n"
           "expect-file PATTERN, expect-no-file PATTERN, expect-mounted PATH,\n"
           "expect-unmounted PATH, key NAME, key-down NAME, key-up NAME,\n"
           "keyboard plug, keyboard unplug, include FILE, quit; NAME is one of\n" +
           c_keyNamesHelp + ".\n" +
           "waitfor still waits for the program's first frame (a screen other than\n"
           "black), then until the screen has not changed for QUIET_MS (300).\n"
           "calibrate touches the nine crosses of the program's touch calibration\n"
           "page, each where and once it shows, then the OK in the middle of the\n"
           "result page, and waits until that page has gone: the calibration is\n"
           "accepted as a person accepts it. MS is each wait's time-out (10000;\n"
           "30000 for each step of calibrate). A waitfor or calibrate fails at once,\n"
           "with the program's exit status, when the program has ended and was not\n"
           "started again.\n" +
           "A slow drive takes seconds to flush and writes at about 1.5 MB/s; with a\n"
           "size, a new, empty drive of MB megabytes is inserted. usb remove pulls the\n"
           "drive, mounted or not: every later write onto it fails. backup-data puts MB\n"
           "of incompressible data among what the emergency backup saves.\n" +
           "Exit status: 0 done, 1 a check failed, 2 cannot run, 3 the program stopped\n"
           "with a status other than 50, 51 or 54.\n";
}

} // namespace sim
