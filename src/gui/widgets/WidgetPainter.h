#ifndef OKU_GUI_WIDGETS_WIDGETPAINTER_H
#define OKU_GUI_WIDGETS_WIDGETPAINTER_H

#include <cstdint>
#include <memory>
#include <string>

#include "core/Geometry.h"
#include "graphics/Alignment.h"
#include "graphics/Color.h"

namespace OKU {

class Font;
class Painter;
class Pixmap;

/// Lays out and draws a pixmap and a one-line text inside a rectangle, for
/// widgets that show both (buttons). The owner learns about every change of
/// appearance through attributeChanged(). Font, margins and the gap between
/// pixmap and text start as the theme's.
class WidgetPainter {
public:
    /// Where the pixmap goes relative to the text inside the margins. The
    /// first four put the pixmap at an edge and give the text the rest; the
    /// ..._TEXT ones centre pixmap and text (at its natural size) as a group.
    /// Right to left, LEFT and RIGHT swap, and so do LEFT_OF_TEXT and
    /// RIGHT_OF_TEXT.
    enum PixmapPosition {
        PP_LEFT = 0,
        PP_RIGHT = 1,
        PP_TOP = 2,
        PP_BOTTOM = 3,
        PP_LEFT_OF_TEXT = 4,
        PP_RIGHT_OF_TEXT = 5,
        PP_ABOVE_TEXT = 6,
        PP_BELOW_TEXT = 7,
        PP_CENTER = 8
    };

    WidgetPainter();
    WidgetPainter(const WidgetPainter&) = delete;
    WidgetPainter& operator=(const WidgetPainter&) = delete;
    virtual ~WidgetPainter();

    virtual void setFont(const std::shared_ptr<const Font>& font);
    virtual std::shared_ptr<const Font> getFont() const;
    virtual void setMargin(int left, int right, int top, int bottom);
    virtual void setPixmapMargin(int margin);
    virtual Size getMinSize(const std::wstring& text) const;
    virtual void draw(Painter& p, int x, int y, int w, int h, const std::wstring& text,
                      const Color& textColor, Layout layout);
    virtual void setPixmap(std::shared_ptr<const Pixmap> pixmap);
    virtual void setPixmapPosition(PixmapPosition position);
    virtual void setTextHAlign(HAlign align);
    virtual void setTextVAlign(VAlign align);
    /// Called after a setter changed something; the owner repaints.
    virtual void attributeChanged() = 0;
    /// Places pixmap and text inside (x, y, w, h); the results are read with
    /// getPixmapTopLeft() and getTextBox().
    virtual void calcPositions(int x, int y, int w, int h, const std::wstring& text,
                               Layout layout, const std::shared_ptr<const Pixmap>& pixmap);
    /// The smallest size showing the text and the pixmap, margins included.
    virtual Size getMinSize(const std::wstring& text,
                            const std::shared_ptr<const Pixmap>& pixmap) const;

    const std::shared_ptr<const Pixmap>& getPixmap() const { return m_pixmap; }
    PixmapPosition getPixmapPosition() const { return m_pixmapPosition; }
    /// Results of the last calcPositions().
    const Point& getPixmapTopLeft() const { return m_pixmapTopLeft; }
    const Rect& getTextBox() const { return m_textBox; }

protected:
    /// calcPositions(), then the pixmap and the text at their places.
    void drawContent(Painter& p, int x, int y, int w, int h, const std::wstring& text,
                     const Color& textColor, Layout layout,
                     const std::shared_ptr<const Pixmap>& pixmap);
    /// Stores the value and tells the owner when it differs from the old one.
    template <class T> void update(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        attributeChanged();
    }

    std::shared_ptr<const Font> m_font;
    std::shared_ptr<const Pixmap> m_pixmap;
    PixmapPosition m_pixmapPosition = PP_LEFT;
    Margins m_margins;
    int32_t m_pixmapMargin;
    HAlign m_textHAlign = HAlign::CENTER;
    VAlign m_textVAlign = VAlign::CENTER;
    Point m_pixmapTopLeft;
    Rect m_textBox;
};

} // namespace OKU

#endif
