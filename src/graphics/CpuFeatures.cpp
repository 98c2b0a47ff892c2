#include "graphics/CpuFeatures.h"

#include "core/Paths.h"

#if defined(__arm__)
#include <asm/hwcap.h>
#include <sys/auxv.h>
#endif

namespace OKU {

namespace {

bool processorHasNeon()
{
#if defined(__aarch64__)
    return true;
#elif defined(__arm__)
    return (getauxval(AT_HWCAP) & HWCAP_NEON) != 0;
#else
    return false;
#endif
}

bool processorHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool switchedOff(const char* variable)
{
    return !getEnv(variable, "").empty();
}

} // namespace

bool neonEnabled()
{
    static const bool enabled = processorHasNeon() && !switchedOff("OKU_NO_NEON");
    return enabled;
}

bool avx2Enabled()
{
    static const bool enabled = processorHasAvx2() && !switchedOff("OKU_NO_AVX2");
    return enabled;
}

} // namespace OKU
