#include "gui/display/detail/DisplayRotation.h"

#include <string>

#include "core/Paths.h"
#include "core/SetupError.h"

namespace OKU {

int displayRotationFromEnv()
{
    const std::string value = getEnv("OKU_ROTATION", "");
    if (value.empty())
        return 0;
    for (int rotation : {0, 90, 180, 270})
        if (value == std::to_string(rotation))
            return rotation;
    throw SetupError("Invalid OKU_ROTATION \"" + value + "\".  Use 0, 90, 180 or 270");
}

} // namespace OKU
