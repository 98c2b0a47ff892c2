#include "gui/DisplayRotation.h"

#include <iostream>
#include <string>

#include "core/Paths.h"
#include "core/ProcessExit.h"

namespace OKU {

int displayRotationFromEnv()
{
    const std::string value = getEnv("OKU_ROTATION", "");
    if (value.empty())
        return 0;
    for (int rotation : {0, 90, 180, 270})
        if (value == std::to_string(rotation))
            return rotation;
    std::cerr << "Invalid OKU_ROTATION \"" << value << "\".  Use 0, 90, 180 or 270" << std::endl;
    exitProcess(1);
}

} // namespace OKU
