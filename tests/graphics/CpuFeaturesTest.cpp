#include "graphics/detail/CpuFeatures.h"

#include <set>

#include <gtest/gtest.h>

#include "core/TempDir.h"
#include "graphics/PixelLoopTestUtil.h"
#include "graphics/detail/PixelLoopChoice.h"
#include "graphics/detail/PixelLoops.h"

using namespace OKU;
using detail::chooseLevel;

namespace {

const PixelLoopLevel c_portable = PixelLoopLevel::portable;
const std::vector<PixelLoopLevel> c_x86{c_portable, PixelLoopLevel::sse2, PixelLoopLevel::avx2};
const std::vector<PixelLoopLevel> c_arm{c_portable, PixelLoopLevel::neon};

std::string chosen(const std::vector<PixelLoopLevel>& supported, const std::string& disable,
                   const std::string& noAvx2 = "", const std::string& noNeon = "")
{
    return levelName(chooseLevel(supported, {disable, noAvx2, noNeon}).level);
}

} // namespace

// Each level builds on those below it: a run takes the highest level below
// the lowest one switched off, whatever the separators and the case of the
// list. The older variables switch off avx2 and neon alone, and a level the
// processor lacks cannot be taken.
TEST(CpuFeaturesTest, TheRunTakesTheHighestLevelBelowTheFirstOneSwitchedOff)
{
    EXPECT_EQ("avx2", chosen(c_x86, ""));
    EXPECT_EQ("avx2", chosen(c_x86, " , neon,portable"));
    EXPECT_EQ("sse2", chosen(c_x86, "avx2"));
    EXPECT_EQ("portable", chosen(c_x86, "sse2"));
    EXPECT_EQ("portable", chosen(c_x86, "AVX2,,Sse2 "));
    EXPECT_EQ("sse2", chosen(c_x86, "", "1"));
    EXPECT_EQ("portable", chosen(c_x86, "sse2", "1"));
    EXPECT_EQ("avx2", chosen(c_x86, "", "", "1"));
    EXPECT_EQ("sse2", chosen({c_portable, PixelLoopLevel::sse2}, ""));

    EXPECT_EQ("neon", chosen(c_arm, "avx2\tsse2"));
    EXPECT_EQ("portable", chosen(c_arm, "neon"));
    EXPECT_EQ("portable", chosen(c_arm, "", "", "yes"));
    EXPECT_EQ("neon", chosen(c_arm, "", "yes"));
    EXPECT_EQ("portable", chosen({c_portable}, ""));
}

TEST(CpuFeaturesTest, WordsThatNameNoLevelAreIgnoredAndReported)
{
    const detail::LevelChoice choice = chooseLevel(c_x86, {"sse3, avx2 avx-512", "", ""});
    EXPECT_EQ(PixelLoopLevel::sse2, choice.level);
    EXPECT_EQ("sse3 avx-512", choice.unknownWords);
    EXPECT_EQ("", chooseLevel(c_x86, {"portable,sse2,avx2,neon", "", ""}).unknownWords);
}

// The run's level is the choice that the variables, as the test runs with
// them (ctest runs it once more with OKU_DISABLE set), make among the levels
// of this processor, and the table of the loops starts at it. Levels go from
// portable up without gaps.
TEST(CpuFeaturesTest, TheRunsLevelComesFromTheEnvironmentAndTheProcessor)
{
    const std::vector<PixelLoopLevel> supported = supportedPixelLoopLevels();
    const std::vector<PixelLoopLevel> built = detail::builtLevels();
    ASSERT_FALSE(supported.empty());
    EXPECT_TRUE(std::equal(supported.begin(), supported.end(), built.begin()));
    EXPECT_EQ(chooseLevel(supported, detail::readLevelSwitches()).level, pixelLoopLevel());
    EXPECT_EQ(pixelLoopLevel(), detail::pixelLoops().level);

    const ScopedEnv disable("OKU_DISABLE", "avx2 neon");
    const ScopedEnv noAvx2("OKU_NO_AVX2", nullptr);
    const ScopedEnv noNeon("OKU_NO_NEON", "1");
    const detail::LevelSwitches switches = detail::readLevelSwitches();
    EXPECT_EQ("avx2 neon", switches.disable);
    EXPECT_EQ("", switches.noAvx2);
    EXPECT_EQ("1", switches.noNeon);
}

// Each level the build has brings loops of its own, so that the tests that
// run at every level do not run the same code twice.
TEST(CpuFeaturesTest, EveryLevelHasLoopsOfItsOwn)
{
    std::set<detail::AlphaBlendRow> alphaBlends;
    std::set<detail::CoverageBlendOpaque> coverageBlends;
    std::set<detail::RunConverter> writers;
    const std::vector<PixelLoopLevel> built = detail::builtLevels();
    for (PixelLoopLevel level : built) {
        const detail::PixelLoops loops = detail::pixelLoopsFor(level);
        EXPECT_EQ(level, loops.level);
        alphaBlends.insert(loops.blendOverOpaqueRow);
        coverageBlends.insert(loops.blendCoverageOpaque);
        writers.insert(loops.convertRun[static_cast<size_t>(WriterFormat::BGR16)]);
    }
    EXPECT_EQ(built.size(), alphaBlends.size());
    EXPECT_EQ(built.size(), coverageBlends.size());
    EXPECT_EQ(built.size(), writers.size());
}
