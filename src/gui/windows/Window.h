#ifndef OKU_GUI_WINDOWS_WINDOW_H
#define OKU_GUI_WINDOWS_WINDOW_H

#include <memory>

#include "core/Visibility.h"
#include "graphics/Color.h"
#include "gui/tree/ContainerWidget.h"
#include "text/LString.h"

namespace OKU {

class Font;

/// A framed dialog with an optional title bar, centred on its top-level parent
/// and drawn in the foreground over a veil that dims everything behind it.
///
/// Size requests, for width and height alike:
///
///      0     the window's minimum size
///     -1     four fifths of the parent's size
///     < -1   that many percent of the parent's size (-100 at most)
///     > 0    pixels
///
/// The result never exceeds the parent's size.
class Window : public ContainerWidget {
public:
    static const Color s_defaultBgColor;
    static const Color s_defaultFrameColor;
    static const Color s_defaultTitleBgColor1;
    static const Color s_defaultTitleBgColor2;
    static const Color s_defaultTitleFgColor;
    static const int32_t s_defaultTitleFontSize;

    /// The parent must be top level. Without requests the window takes its
    /// minimum size once it is created.
    Window(Widget* parent, const LString& title, bool closeOnOutsidePress);
    Window(Widget* parent, int w, int h, const LString& title, bool closeOnOutsidePress);

    /// These only store and redraw; the size follows at the next autoResize,
    /// resizeWindow or language change.
    void setTitle(const LString& title);
    void setFrameColor(const Color& c)
    {
        m_frameColor = c;
        invalidate();
    }
    void setTitleBgColor(const Color& top, const Color& bottom)
    {
        m_titleBgColor1 = top;
        m_titleBgColor2 = bottom;
        invalidate();
    }
    void setTitleFgColor(const Color& c)
    {
        m_titleFgColor = c;
        invalidate();
    }

    void resizeWindow(int w, int h)
    {
        m_requestedWidth = w;
        m_requestedHeight = h;
        autoResize();
    }
    int recalcWidth() const;
    int recalcHeight() const;
    /// Resizes to the decoded requests when they differ and centres.
    void autoResize();
    void l10nChanged()
    {
        autoResize();
        runSizer();
    }

    void onCreation() override;
    void onParentResized() override;
    void onMouseDown(int x, int y) override;
    bool onKey(KeyCode key, wchar_t c) override;
    void draw(Painter& p) override;
    int getAutoMinWidth() const override;
    void getContentOffsets(int& left, int& right, int& top, int& bottom) const override;

protected:
    LString m_title;
    int32_t m_requestedWidth = 0;
    int32_t m_requestedHeight = 0;
    bool m_closeOnOutsidePress;
    std::shared_ptr<const Font> m_titleFont;
    Color m_frameColor = s_defaultFrameColor;
    Color m_titleBgColor1 = s_defaultTitleBgColor1;
    Color m_titleBgColor2 = s_defaultTitleBgColor2;
    Color m_titleFgColor = s_defaultTitleFgColor;

private:
    OKU_LOCAL int titleTextHeight() const;
};

} // namespace OKU

#endif
