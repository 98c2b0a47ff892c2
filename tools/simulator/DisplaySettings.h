#ifndef LIFEBOAT_SIM_DISPLAYSETTINGS_H
#define LIFEBOAT_SIM_DISPLAYSETTINGS_H

#include <string>
#include <vector>

namespace sim {

// How a device drives its display, as its start-up tells the program:
// the panel's mounting (OKU_ROTATION) and tear-free page flipping
// (OKU_FBFLIP). Scenarios and screenshots are in the rotated coordinates.
struct DisplaySettings {
    int rotation = 0;
    bool pageFlip = false;

    // The program's environment entries; none for the defaults, so that a
    // device without options runs the program exactly as before.
    std::vector<std::string> programSettings() const;
};

// Takes "--rotation DEGREES" or "--flip" at argv[i], moving i past it;
// false for any other argument. Throws std::invalid_argument for a rotation
// other than 0, 90, 180 or 270.
bool takeDisplayOption(int argc, char** argv, int& i, DisplaySettings& settings);

// The options' lines for a usage text.
extern const char c_displayOptionsUsage[];

} // namespace sim

#endif
