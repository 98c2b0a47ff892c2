#ifndef OKU_GRAPHICS_ALIGNMENT_H
#define OKU_GRAPHICS_ALIGNMENT_H

namespace OKU {

/// STRETCH makes a sizer give the item its whole cell.
enum class HAlign { LEFT = 0, CENTER = 1, RIGHT = 2, STRETCH = 3 };
enum class VAlign { TOP = 0, CENTER = 1, BASELINE = 2, BOTTOM = 3, STRETCH = 4 };

/// LANGUAGE follows the current language, AUTO detects the direction from the text.
enum class Layout { LANGUAGE = 0, AUTO = 1, LTR = 2, RTL = 3 };

/// A text's requested base direction, as the text layer's Bidi::Mode: 0
/// from the first strong character (else the language's direction), 1 and 3
/// right to left, anything else left to right. Declared here so that drawing
/// surfaces can take it without depending on the text layer.
typedef int BidiMode;

/// The text layout's alignment number: CENTER, RIGHT and STRETCH keep their
/// value, everything else is 0.
inline int toTextHAlign(HAlign a)
{
    const int value = static_cast<int>(a);
    return value >= 1 && value <= 3 ? value : 0;
}

} // namespace OKU

#endif
