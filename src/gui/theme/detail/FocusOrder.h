#ifndef OKU_GUI_THEME_DETAIL_FOCUSORDER_H
#define OKU_GUI_THEME_DETAIL_FOCUSORDER_H

#include <vector>

#include "core/Geometry.h"
#include "gui/theme/KeyboardFocus.h"
#include "input/KeyCode.h"

namespace OKU {

class Widget;

/// A focus target together with where it is on the screen.
struct FocusPlace {
    FocusTarget target;
    /// On the screen, in the root's coordinates.
    Rect rect;
};

/// What the keys work on: the topmost window in front, or else the topmost
/// page covering the whole screen, or else the root with all it holds. What
/// lies below it cannot be reached by a finger either.
Widget* focusScope(Widget* root);

/// Whether the target is a visible, enabled, living focus area inside scope.
bool canTakeFocus(const FocusTarget& target, const Widget* scope);

/// The focus areas inside scope in reading order: rows from top to bottom,
/// each row from left to right, or from right to left when ltr is false. An
/// area joins a row when its middle lies between the top and the bottom of the
/// row's first area.
std::vector<FocusPlace> focusPlaces(Widget* scope, bool ltr);

/// The index of the place an arrow key leads to from places[from], or -1 when
/// nothing lies that way: no place has its middle past that edge of the
/// current one. Arrows go by what the screen shows, so in a mirrored page Left
/// reaches what Right reaches in its left-to-right form. The nearest place
/// counts, a place beside the way costing twice its distance from it; ties go
/// to the earlier place.
int placeInDirection(const std::vector<FocusPlace>& places, int from, KeyCode arrow);

} // namespace OKU

#endif
