#include "gui/theme/detail/FocusOrder.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "gui/tree/Widget.h"

namespace OKU {

namespace {

bool coversParent(const Widget& w, const Widget& parent)
{
    return w.getRect() == Rect(0, 0, parent.getWidth(), parent.getHeight());
}

void collectPlaces(Widget* w, const Rect& scopeRect, std::vector<FocusPlace>& places)
{
    if (!w->isShown() || w->isMarkedDestroyed() || !w->isEnabled())
        return;
    const Point origin = w->getPositionAbs();
    const std::vector<Rect> areas = w->getFocusAreas();
    for (size_t i = 0; i < areas.size(); ++i) {
        const Rect rect(areas[i].x + origin.x, areas[i].y + origin.y, areas[i].width,
                        areas[i].height);
        if (!rect.isEmpty() && rect.intersects(scopeRect))
            places.push_back(FocusPlace{FocusTarget{w, static_cast<int>(i)}, rect});
    }
    for (Widget* child : w->getChildren())
        collectPlaces(child, scopeRect, places);
}

int middleX(const Rect& r)
{
    return r.x + r.width / 2;
}

int middleY(const Rect& r)
{
    return r.y + r.height / 2;
}

// Whether the middle of b lies past a's edge in the direction (dx, dy).
bool beyond(const Rect& a, const Rect& b, int dx, int dy)
{
    if (dx != 0)
        return dx > 0 ? middleX(b) >= a.right() : middleX(b) < a.x;
    return dy > 0 ? middleY(b) >= a.bottom() : middleY(b) < a.y;
}

// The gap between [a0, a1) and [b0, b1); 0 when they overlap.
int gap(int a0, int a1, int b0, int b1)
{
    return std::max(0, std::max(b0 - a1, a0 - b1));
}

} // namespace

Widget* focusScope(Widget* root)
{
    const Widget::Children children = root->getChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Widget* c = *it;
        if (c->isShown() && (c->isForeground() || coversParent(*c, *root)))
            return c;
    }
    return root;
}

bool canTakeFocus(const FocusTarget& target, const Widget* scope)
{
    const Widget* w = target.widget;
    if (w == nullptr || w->isDestroyed() || !w->isVisible() || !w->isEnabled())
        return false;
    const Widget* ancestor = w;
    while (ancestor != nullptr && ancestor != scope)
        ancestor = ancestor->getParent();
    if (ancestor == nullptr)
        return false;
    const std::vector<Rect> areas = w->getFocusAreas();
    return target.area >= 0 && target.area < static_cast<int>(areas.size()) &&
           !areas[target.area].isEmpty();
}

std::vector<FocusPlace> focusPlaces(Widget* scope, bool ltr)
{
    std::vector<FocusPlace> places;
    collectPlaces(scope, scope->getRectAbs(), places);
    std::stable_sort(places.begin(), places.end(), [](const FocusPlace& a, const FocusPlace& b) {
        return a.rect.y < b.rect.y || (a.rect.y == b.rect.y && a.rect.x < b.rect.x);
    });
    for (auto row = places.begin(); row != places.end();) {
        const Rect& first = row->rect;
        const auto rowEnd = std::find_if(row, places.end(), [&first](const FocusPlace& p) {
            return middleY(p.rect) >= first.bottom();
        });
        std::stable_sort(row, rowEnd, [ltr](const FocusPlace& a, const FocusPlace& b) {
            return ltr ? a.rect.x < b.rect.x : a.rect.right() > b.rect.right();
        });
        row = rowEnd;
    }
    return places;
}

int placeInDirection(const std::vector<FocusPlace>& places, int from, KeyCode arrow)
{
    const int dx = arrow == KEY_ARROW_RIGHT ? 1 : arrow == KEY_ARROW_LEFT ? -1 : 0;
    const int dy = arrow == KEY_ARROW_DOWN ? 1 : arrow == KEY_ARROW_UP ? -1 : 0;
    const Rect& a = places[from].rect;
    int best = -1;
    int64_t bestCost = std::numeric_limits<int64_t>::max();
    for (size_t i = 0; i < places.size(); ++i) {
        const Rect& b = places[i].rect;
        // Twice the distance between the middles, so that odd sizes count.
        const int64_t along = dx * (2 * int64_t(b.x) + b.width - 2 * int64_t(a.x) - a.width) +
                             dy * (2 * int64_t(b.y) + b.height - 2 * int64_t(a.y) - a.height);
        if (static_cast<int>(i) == from || !beyond(a, b, dx, dy))
            continue;
        const int64_t beside = dx != 0 ? gap(a.y, a.bottom(), b.y, b.bottom())
                                    : gap(a.x, a.right(), b.x, b.right());
        const int64_t cost = along + 4 * beside;
        if (cost < bestCost) {
            bestCost = cost;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace OKU
