#include "InputSettings.h"

namespace sim {

const char c_inputOptionsUsage[] =
    "  --keyboard      a USB keyboard is plugged in at power-on\n"
    "  --no-touch      no touch controller answers: the program runs without one\n";

std::vector<std::string> InputSettings::programSettings() const
{
    if (touch)
        return {};
    return {"NIMBLO_OPTIONAL_TSC=1"};
}

bool takeInputOption(char** argv, int i, InputSettings& settings)
{
    const std::string arg = argv[i];
    if (arg == "--keyboard")
        settings.keyboard = true;
    else if (arg == "--no-touch")
        settings.touch = false;
    else
        return false;
    return true;
}

} // namespace sim
