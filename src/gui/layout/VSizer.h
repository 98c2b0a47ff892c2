#ifndef OKU_GUI_LAYOUT_VSIZER_H
#define OKU_GUI_LAYOUT_VSIZER_H

#include "gui/layout/LinearSizer.h"

namespace OKU {

/// A column of widgets, nested sizers, spaces and dividers, top to bottom,
/// each aligned within the column's width by its HAlign (never mirrored).
class VSizer : public LinearSizer<VerticalAxis> {
public:
    /// layoutHidden: hidden items keep their place. Hidden items count for the
    /// minimum size and visibility when either flag is set.
    explicit VSizer(bool layoutHidden = false, bool measureHidden = false);

    /// Stores each item's minimum height in its minSize.
    void cacheMinHeights(bool all) const { cacheMinSizes(all); }
};

} // namespace OKU

#endif
