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

} // namespace

bool neonEnabled()
{
    static const bool enabled = processorHasNeon() && getEnv("OKU_NO_NEON", "").empty();
    return enabled;
}

} // namespace OKU
