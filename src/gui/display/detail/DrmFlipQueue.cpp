#include "gui/display/detail/DrmFlipQueue.h"

#include "core/FatalError.h"
#include "gui/tree/detail/DamageAreas.h"

namespace OKU {

void DrmFlipQueue::addDamage(const Rect& r)
{
    if (r.isEmpty())
        return;
    addDamageArea(m_missing[0], r);
    addDamageArea(m_missing[1], r);
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
