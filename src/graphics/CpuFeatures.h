#ifndef OKU_GRAPHICS_CPUFEATURES_H
#define OKU_GRAPHICS_CPUFEATURES_H

// Which vector paths the pixel loops take, decided once per run. Each can be
// switched off with a variable set to anything but empty, so that the paths
// below it are tested on a machine that has it.

namespace OKU {

/// NEON: on ARM processors that have it, unless OKU_NO_NEON is set.
bool neonEnabled();

/// AVX2: on x86 processors that have it, unless OKU_NO_AVX2 is set.
bool avx2Enabled();

} // namespace OKU

#endif
