#ifndef OKU_GRAPHICS_CPUFEATURES_H
#define OKU_GRAPHICS_CPUFEATURES_H

namespace OKU {

/// Whether the NEON paths of the pixel loops run: on ARM processors that have
/// NEON, unless OKU_NO_NEON is set (not empty), which forces the portable
/// paths so that both can be tested on one machine. Decided once.
bool neonEnabled();

} // namespace OKU

#endif
