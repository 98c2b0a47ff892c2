#include "gui/DrmFlipQueue.h"

#include <algorithm>

#include "core/FatalError.h"

namespace OKU {

namespace {

// Adds r to the areas, keeping no area inside another, so that nothing is
// written twice for one frame.
void addArea(std::vector<Rect>& areas, const Rect& r)
{
    for (const Rect& area : areas) {
        if (area.contains(r))
            return;
    }
    areas.erase(std::remove_if(areas.begin(), areas.end(),
                               [&r](const Rect& area) { return r.contains(area); }),
                areas.end());
    areas.push_back(r);
}

} // namespace

void DrmFlipQueue::addDamage(const Rect& r)
{
    if (r.isEmpty())
        return;
    addArea(m_missing[0], r);
    addArea(m_missing[1], r);
}

std::vector<Rect> DrmFlipQueue::takeBackDamage()
{
    if (m_pending)
        fatalError("DrmFlipQueue: back buffer written while its flip is pending");
    std::vector<Rect> areas;
    areas.swap(m_missing[getBack()]);
    return areas;
}

void DrmFlipQueue::flipQueued()
{
    if (m_pending)
        fatalError("DrmFlipQueue: flip queued while another is pending");
    m_pending = true;
}

bool DrmFlipQueue::flipDone()
{
    if (!m_pending)
        return false;
    m_pending = false;
    m_shown = getBack();
    return true;
}

void DrmFlipQueue::shownNow()
{
    if (m_pending)
        fatalError("DrmFlipQueue: buffer shown while a flip is pending");
    m_shown = getBack();
}

} // namespace OKU
