#pragma once

#include <algorithm>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "graphics/detail/CpuFeatures.h"
#include "graphics/detail/PixelLoops.h"

namespace OKU {

// Levels by name in the tests' names and messages.
inline void PrintTo(PixelLoopLevel level, std::ostream* out)
{
    *out << levelName(level);
}

} // namespace OKU

namespace GraphicsTest {

// A test of the pixel loops, run once for every level the build has: each
// run takes its level's loops and gives the table back to the run's level.
// A level that the processor lacks is skipped.
class PixelLoopLevelTest : public testing::TestWithParam<OKU::PixelLoopLevel> {
protected:
    void SetUp() override
    {
        const std::vector<OKU::PixelLoopLevel> supported = OKU::supportedPixelLoopLevels();
        if (std::find(supported.begin(), supported.end(), GetParam()) == supported.end())
            GTEST_SKIP() << "this processor has no " << OKU::levelName(GetParam());
        OKU::detail::usePixelLoops(GetParam());
    }

    void TearDown() override { OKU::detail::usePixelLoops(OKU::pixelLoopLevel()); }
};

inline std::string levelTestName(const testing::TestParamInfo<OKU::PixelLoopLevel>& info)
{
    return OKU::levelName(info.param);
}

} // namespace GraphicsTest

#define OKU_INSTANTIATE_FOR_EVERY_LEVEL(Suite)                                                 \
    INSTANTIATE_TEST_SUITE_P(EveryLevel, Suite, testing::ValuesIn(OKU::detail::builtLevels()), \
                             GraphicsTest::levelTestName)
