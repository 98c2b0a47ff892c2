#include "graphics/detail/PixelLoopChoice.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "core/Paths.h"

namespace OKU {
namespace detail __attribute__((visibility("hidden"))) {

namespace {

const PixelLoopLevel c_levels[] = {PixelLoopLevel::portable, PixelLoopLevel::sse2,
                                   PixelLoopLevel::avx2, PixelLoopLevel::neon};

bool contains(const std::vector<PixelLoopLevel>& levels, PixelLoopLevel level)
{
    return std::find(levels.begin(), levels.end(), level) != levels.end();
}

} // namespace

LevelSwitches readLevelSwitches()
{
    return LevelSwitches{getEnv("OKU_DISABLE", ""), getEnv("OKU_NO_AVX2", ""),
                         getEnv("OKU_NO_NEON", "")};
}

LevelChoice chooseLevel(const std::vector<PixelLoopLevel>& supported, const LevelSwitches& switches)
{
    LevelChoice choice{PixelLoopLevel::portable, ""};
    std::vector<PixelLoopLevel> off;
    if (!switches.noAvx2.empty())
        off.push_back(PixelLoopLevel::avx2);
    if (!switches.noNeon.empty())
        off.push_back(PixelLoopLevel::neon);

    std::string list = switches.disable;
    std::replace(list.begin(), list.end(), ',', ' ');
    std::istringstream words(list);
    for (std::string word; words >> word;) {
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const auto named = std::find_if(std::begin(c_levels), std::end(c_levels),
                                        [&word](PixelLoopLevel l) { return word == levelName(l); });
        if (named != std::end(c_levels))
            off.push_back(*named);
        else
            choice.unknownWords += (choice.unknownWords.empty() ? "" : " ") + word;
    }

    for (PixelLoopLevel level : supported) {
        if (level != PixelLoopLevel::portable && contains(off, level))
            break;
        choice.level = level;
    }
    return choice;
}

} // namespace detail
} // namespace OKU
