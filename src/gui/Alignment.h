#ifndef OKU_GUI_ALIGNMENT_H
#define OKU_GUI_ALIGNMENT_H

namespace OKU {

/// STRETCH makes a sizer give the item its whole cell.
enum class HAlign { LEFT = 0, CENTER = 1, RIGHT = 2, STRETCH = 3 };
enum class VAlign { TOP = 0, CENTER = 1, BASELINE = 2, BOTTOM = 3, STRETCH = 4 };

/// LANGUAGE follows the current language, AUTO detects the direction from the text.
enum class Layout { LANGUAGE = 0, AUTO = 1, LTR = 2, RTL = 3 };

} // namespace OKU

#endif
