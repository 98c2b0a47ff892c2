#ifndef LIFEBOAT_SIM_INPUTSETTINGS_H
#define LIFEBOAT_SIM_INPUTSETTINGS_H

#include <string>
#include <vector>

namespace sim {

// What a device has to be operated with at power-on: a USB keyboard
// plugged in, and a touch controller fitted or not. A device without one
// runs the program with the controller optional (NIMBLO_OPTIONAL_TSC) and
// its line dead.
struct InputSettings {
    bool keyboard = false;
    bool touch = true;

    // The program's environment entries; none for the defaults.
    std::vector<std::string> programSettings() const;
};

// Takes "--keyboard" or "--no-touch" at argv[i]; false for any other argument.
bool takeInputOption(char** argv, int i, InputSettings& settings);

// The options' lines for a usage text.
extern const char c_inputOptionsUsage[];

} // namespace sim

#endif
