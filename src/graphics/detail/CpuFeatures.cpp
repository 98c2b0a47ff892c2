#include "graphics/detail/CpuFeatures.h"

#include "core/Trace.h"
#include "graphics/detail/PixelLoopChoice.h"
#include "graphics/detail/PixelLoops.h"

#if defined(__arm__)
#include <asm/hwcap.h>
#include <sys/auxv.h>
#endif

namespace OKU {

namespace {

bool processorRuns(PixelLoopLevel level)
{
#if defined(__x86_64__) || defined(__i386__)
    // Also right when called before the constructors of the program have run.
    __builtin_cpu_init();
    if (level == PixelLoopLevel::sse2)
        return __builtin_cpu_supports("sse2");
    if (level == PixelLoopLevel::avx2)
        return __builtin_cpu_supports("avx2");
#elif defined(__aarch64__)
    if (level == PixelLoopLevel::neon)
        return true;
#elif defined(__arm__)
    // Debian's armhf baseline leaves NEON out.
    if (level == PixelLoopLevel::neon)
        return (getauxval(AT_HWCAP) & HWCAP_NEON) != 0;
#endif
    return level == PixelLoopLevel::portable;
}

} // namespace

const char* levelName(PixelLoopLevel level)
{
    switch (level) {
    case PixelLoopLevel::sse2:
        return "sse2";
    case PixelLoopLevel::avx2:
        return "avx2";
    case PixelLoopLevel::neon:
        return "neon";
    case PixelLoopLevel::portable:
        break;
    }
    return "portable";
}

std::vector<PixelLoopLevel> supportedPixelLoopLevels()
{
    std::vector<PixelLoopLevel> levels;
    for (PixelLoopLevel level : detail::builtLevels()) {
        if (!processorRuns(level))
            break;
        levels.push_back(level);
    }
    return levels;
}

PixelLoopLevel pixelLoopLevel()
{
    static const PixelLoopLevel chosen = [] {
        const detail::LevelChoice choice =
            detail::chooseLevel(supportedPixelLoopLevels(), detail::readLevelSwitches());
        if (!choice.unknownWords.empty())
            traceMessage("OKU::CpuFeatures", TRACE_WARNING,
                         "OKU_DISABLE: no such level, ignored: %s", choice.unknownWords.c_str());
        return choice.level;
    }();
    return chosen;
}

} // namespace OKU
