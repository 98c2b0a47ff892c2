#ifndef OKU_GUI_TREE_DETAIL_DAMAGEAREAS_H
#define OKU_GUI_TREE_DETAIL_DAMAGEAREAS_H

#include <vector>

#include "core/Geometry.h"

namespace OKU {

/// Adds r to the areas a buffer lacks, keeping no area inside another, so
/// that nothing is written twice when the buffer is brought up to date.
void addDamageArea(std::vector<Rect>& areas, const Rect& r);

} // namespace OKU

#endif
