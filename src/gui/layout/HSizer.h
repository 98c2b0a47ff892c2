#ifndef OKU_GUI_LAYOUT_HSIZER_H
#define OKU_GUI_LAYOUT_HSIZER_H

#include "gui/layout/LinearSizer.h"

namespace OKU {

/// A row of widgets, nested sizers, spaces and dividers, left to right, each
/// aligned within the row's height by its VAlign.
class HSizer : public LinearSizer<HorizontalAxis> {
public:
    /// layoutHidden: hidden items keep their place. Hidden items count for the
    /// minimum size and visibility when either flag is set.
    explicit HSizer(bool layoutHidden = false, bool measureHidden = false);

    /// Stores each item's minimum width in its minSize.
    void cacheMinWidths(bool all) const { cacheMinSizes(all); }
};

} // namespace OKU

#endif
