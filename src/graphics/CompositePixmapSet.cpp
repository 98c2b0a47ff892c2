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

void CompositePixmapSet::setForegroundColor(const Color& c)
{
    recolor(m_up, c);
    recolor(m_down, c);
}

} // namespace OKU
