#ifndef LIFEBOAT_SIM_DISPLAYSETTINGS_H
#define LIFEBOAT_SIM_DISPLAYSETTINGS_H

#include <string>
#include <vector>

namespace sim {

// How a device drives its display, as its start-up tells the program:
// the panel's mounting (OKU_ROTATION), tear-free page flipping (OKU_FBFLIP)
// and the language the page is shown in (LIFEBOAT_LANGUAGE). Scenarios and
// screenshots are in the rotated coordinates.
struct DisplaySettings {
    int rotation = 0;
    bool pageFlip = false;
    std::string language; // a code such as "de"; empty: English

    // The program's environment entries; for the defaults only English, so
    // that a device without options shows the page as it always has.
    std::vector<std::string> programSettings() const;
};

// Takes "--rotation DEGREES", "--flip" or "--language CODE" at argv[i], moving i past it;
// false for any other argument. Throws std::invalid_argument for a rotation
// other than 0, 90, 180 or 270.
bool takeDisplayOption(int argc, char** argv, int& i, DisplaySettings& settings);

// The options' lines for a usage text.
extern const char c_displayOptionsUsage[];

} // namespace sim

#endif
