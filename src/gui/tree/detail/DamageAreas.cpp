#include "gui/tree/detail/DamageAreas.h"

#include <algorithm>

namespace OKU {

void addDamageArea(std::vector<Rect>& areas, const Rect& r)
{
    if (std::any_of(areas.begin(), areas.end(),
                    [&r](const Rect& area) { return area.contains(r); }))
        return;
    areas.erase(std::remove_if(areas.begin(), areas.end(),
                               [&r](const Rect& area) { return r.contains(area); }),
                areas.end());
    areas.push_back(r);
}

} // namespace OKU
