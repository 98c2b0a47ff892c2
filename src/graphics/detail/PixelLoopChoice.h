#ifndef OKU_GRAPHICS_DETAIL_PIXELLOOPCHOICE_H
#define OKU_GRAPHICS_DETAIL_PIXELLOOPCHOICE_H

// Private to the graphics sources: how the variables of the environment pick
// the level of the pixel loops among those the processor has (CpuFeatures.h).

#include <string>
#include <vector>

#include "graphics/detail/CpuFeatures.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

/// The variables as they are set, empty where unset.
struct LevelSwitches {
    /// OKU_DISABLE: level names separated by spaces or commas.
    std::string disable;
    /// OKU_NO_AVX2 and OKU_NO_NEON: anything but empty switches the level off.
    std::string noAvx2;
    std::string noNeon;
};

LevelSwitches readLevelSwitches();

struct LevelChoice {
    PixelLoopLevel level;
    /// The words of the list that name no level, separated by spaces.
    std::string unknownWords;
};

/// The highest level of supported (lowest first, each building on the one
/// before it) below the first one that the switches turn off. Names are
/// taken in any case; portable cannot be turned off.
LevelChoice chooseLevel(const std::vector<PixelLoopLevel>& supported,
                        const LevelSwitches& switches);

} // namespace detail
} // namespace OKU

#endif
