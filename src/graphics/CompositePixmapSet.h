#ifndef OKU_GRAPHICS_COMPOSITEPIXMAPSET_H
#define OKU_GRAPHICS_COMPOSITEPIXMAPSET_H

#include <memory>
#include <utility>

#include "graphics/Color.h"
#include "graphics/CompositePixmap.h"

namespace OKU {

/// The four looks of a button. The composite pixmaps are shared and never
/// changed in place; changing the set replaces its pointers.
class CompositePixmapSet {
public:
    typedef std::shared_ptr<const CompositePixmap> Pointer;

    /// Four empty pointers.
    CompositePixmapSet() = default;
    CompositePixmapSet(Pointer up, Pointer upDisabled, Pointer down, Pointer downDisabled)
        : m_up(std::move(up)),
          m_upDisabled(std::move(upDisabled)),
          m_down(std::move(down)),
          m_downDisabled(std::move(downDisabled))
    {
    }

    const Pointer& getUp() const { return m_up; }
    const Pointer& getUpDisabled() const { return m_upDisabled; }
    const Pointer& getDown() const { return m_down; }
    const Pointer& getDownDisabled() const { return m_downDisabled; }
    /// The look of a button in the given state.
    const Pointer& get(bool enabled, bool down) const
    {
        if (enabled)
            return down ? m_down : m_up;
        return down ? m_downDisabled : m_upDisabled;
    }

    /// Replaces the up and down entries by copies with this foreground colour;
    /// the disabled entries keep theirs, and holders of the old pointers see
    /// no change. Empty entries stay empty.
    void setForegroundColor(const Color& c);

private:
    Pointer m_up;
    Pointer m_upDisabled;
    Pointer m_down;
    Pointer m_downDisabled;
};

} // namespace OKU

#endif
