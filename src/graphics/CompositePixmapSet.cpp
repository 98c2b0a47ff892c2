#include "graphics/CompositePixmapSet.h"

#include <utility>

namespace OKU {

namespace {

void recolor(CompositePixmapSet::Pointer& entry, const Color& c)
{
    if (!entry)
        return;
    auto copy = std::make_shared<CompositePixmap>(*entry);
    copy->setColor(c);
    entry = std::move(copy);
}

} // namespace

CompositePixmapSet::CompositePixmapSet() = default;

CompositePixmapSet::CompositePixmapSet(Pointer up, Pointer upDisabled, Pointer down,
                                       Pointer downDisabled)
    : m_up(std::move(up)),
      m_upDisabled(std::move(upDisabled)),
      m_down(std::move(down)),
      m_downDisabled(std::move(downDisabled))
{
}

const CompositePixmapSet::Pointer& CompositePixmapSet::get(bool enabled, bool down) const
{
    if (enabled)
        return down ? m_down : m_up;
    return down ? m_downDisabled : m_upDisabled;
}

void CompositePixmapSet::setForegroundColor(const Color& c)
{
    recolor(m_up, c);
    recolor(m_down, c);
}

} // namespace OKU
