#ifndef OKU_GUI_DISPLAY_DETAIL_DRMFLIPQUEUE_H
#define OKU_GUI_DISPLAY_DETAIL_DRMFLIPQUEUE_H

#include <vector>

#include "core/Geometry.h"

namespace OKU {

/// Bookkeeping of a double-buffered display: which of the two buffers is
/// shown, whether a flip to the other one is waiting for the vertical blank,
/// and which areas of the back buffer (the pixmap the tree is drawn into)
/// each display buffer still lacks.
///
/// A frame is written into the buffer not shown, then flipped to. The buffer
/// that comes back lacks the areas of the frame just shown as well as those
/// of its own next frame, so every redrawn area counts as missing from both
/// buffers until it has been written into each.
class DrmFlipQueue {
public:
    /// Buffer 0 is shown when the mode is set; buffer 1 is written first.
    int getShown() const { return m_shown; }
    /// The buffer the next frame goes into; while a flip is pending it is
    /// still on the screen and must not be written yet.
    int getBack() const { return 1 - m_shown; }
    bool isFlipPending() const { return m_pending; }

    /// Area r of the back buffer was redrawn.
    void addDamage(const Rect& r);
    /// The areas the back buffer lacks, which count as written from now on.
    std::vector<Rect> takeBackDamage();

    /// The back buffer has been queued to be shown at the next vertical blank.
    void flipQueued();
    /// The queued flip happened; false when none was pending (a late event
    /// after a flip was given up for lost).
    bool flipDone();
    /// The back buffer was shown at once, without a flip.
    void shownNow();

private:
    int m_shown = 0;
    bool m_pending = false;
    std::vector<Rect> m_missing[2];
};

} // namespace OKU

#endif
