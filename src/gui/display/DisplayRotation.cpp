#include "gui/display/DisplayRotation.h"

#include <string>

#include "core/Paths.h"
#include "gui/display/SetupFailure.h"

namespace OKU {

int displayRotationFromEnv()
{
    const std::string value = getEnv("OKU_ROTATION", "");
    if (value.empty())
        return 0;
    for (int rotation : {0, 90, 180, 270})
        if (value == std::to_string(rotation))
            return rotation;
    failSetup("Invalid OKU_ROTATION \"" + value + "\".  Use 0, 90, 180 or 270");
}

} // namespace OKU
