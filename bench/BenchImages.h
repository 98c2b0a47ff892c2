#ifndef OKU_BENCH_BENCHIMAGES_H
#define OKU_BENCH_BENCHIMAGES_H

#include "graphics/Pixmap.h"

// Pictures the benchmarks draw with: every channel varies from pixel to
// pixel, so that no loop can take a shortcut meant for uniform areas.

/// Opaque and without alpha, like a drawn screen.
OKU::Pixmap makeOpaqueImage(int width, int height);

/// With alpha running through every value along each row, so that no pixel
/// can take the opaque or transparent shortcut of a blend.
OKU::Pixmap makeTranslucentImage(int width, int height);

#endif
