#include "DisplaySettings.h"

#include <stdexcept>

namespace sim {

const char c_displayOptionsUsage[] =
    "  --rotation DEG  the panel is mounted turned: the program turns its picture\n"
    "                  clockwise by DEG (0, 90, 180, 270); taps, pixels and\n"
    "                  screenshots are then in the turned picture's coordinates\n"
    "  --flip          the program shows frames by page flipping (OKU_FBFLIP=1)\n"
    "  --language CODE the page in that language (LIFEBOAT_LANGUAGE), e.g. de, ar\n";

std::vector<std::string> DisplaySettings::programSettings() const
{
    std::vector<std::string> settings;
    if (rotation != 0)
        settings.push_back("OKU_ROTATION=" + std::to_string(rotation));
    if (pageFlip)
        settings.push_back("OKU_FBFLIP=1");
    // English unless asked for, whatever the host's locale says.
    settings.push_back("LIFEBOAT_LANGUAGE=" + (language.empty() ? std::string("en") : language));
    return settings;
}

bool takeDisplayOption(int argc, char** argv, int& i, DisplaySettings& settings)
{
    const std::string arg = argv[i];
    if (arg == "--flip") {
        settings.pageFlip = true;
        return true;
    }
    if (arg == "--language" && i + 1 < argc) {
        settings.language = argv[++i];
        return true;
    }
    if (arg != "--rotation" || i + 1 >= argc)
        return false;
    const std::string degrees = argv[++i];
    if (degrees != "0" && degrees != "90" && degrees != "180" && degrees != "270")
        throw std::invalid_argument("rotation \"" + degrees + "\" is not 0, 90, 180 or 270");
    settings.rotation = std::stoi(degrees);
    return true;
}

} // namespace sim
