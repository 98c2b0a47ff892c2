#ifndef OKU_GUI_THEME_THEMESETTINGS_H
#define OKU_GUI_THEME_THEMESETTINGS_H

#include <cstdint>

#include "graphics/Color.h"

namespace OKU {

/// The look a program can change: font sizes in pixels, colours and
/// spacings. Widgets copy what they need when they are constructed, so a
/// program changes them through Theme::setSettings right after
/// Theme::initGlobal, before it builds its first page.
struct ThemeSettings {
    int32_t tinyFontSize = 8;
    int32_t smallerFontSize = 10;
    /// Overlay texts of buttons and the buttons of message windows.
    int32_t smallFontSize = 12;
    /// Static texts, button labels and check boxes.
    int32_t textFontSize = 16;
    int32_t largeFontSize = 20;
    int32_t largerFontSize = 24;
    int32_t hugeFontSize = 32;
    int32_t hugerFontSize = 40;
    int32_t headingFontSize = 32;
    int32_t largeHeadingFontSize = 40;
    int32_t subheadingFontSize = 20;
    /// Static texts and enabled check boxes.
    Color textColor = Color(0, 0, 0, 255);
    /// Disabled check boxes.
    Color grayColor = Color(128, 128, 128, 255);
    Color whiteColor = Color(255, 255, 255, 255);
    Color lightColor = Color(224, 224, 224, 255);
    Color blackColor = Color(0, 0, 0, 255);
    Color silverColor = Color(192, 192, 192, 255);
    Color paleColor = Color(240, 240, 240, 255);
    /// The keyboard focus ring, drawn inside the focused area's edge.
    Color focusRingColor = Color(0, 90, 220, 255);
    int32_t focusRingInset = 3;
    int32_t focusRingWidth = 3;
    /// Fixed minimum height of buttons.
    int32_t buttonHeight = 40;
    /// WidgetPainter: left and right margins, top and bottom margins, and the
    /// gap between image and text.
    int32_t painterHorizMargin = 10;
    int32_t painterVertMargin = 5;
    int32_t painterPixmapMargin = 5;
    int32_t overlayMargin = 2;
    /// Default margin between sizer items.
    int32_t sizerMargin = 10;
    /// The four margins of a new container.
    int32_t containerMargin = 10;
    /// Margin of the divider above the button row of common windows.
    int32_t dividerMargin = 0;
};

} // namespace OKU

#endif
