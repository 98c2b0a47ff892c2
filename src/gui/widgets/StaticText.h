#ifndef OKU_GUI_WIDGETS_STATICTEXT_H
#define OKU_GUI_WIDGETS_STATICTEXT_H

#include <memory>

#include "graphics/Color.h"
#include "gui/tree/Widget.h"
#include "text/Bidi.h"
#include "text/LString.h"

namespace OKU {

class Font;

/// A passive text, broken into lines to the widget's width unless line
/// breaking is off, aligned in its box and optionally fading in. Presses and
/// keys pass through it.
class StaticText : public Widget {
public:
    /// The theme's standard font and text colour.
    StaticText(Widget* parent, const LString& text, HAlign halign, VAlign valign);

    void setText(const LString& text);
    const LString& getText() const { return m_text; }
    void setFont(const std::shared_ptr<const Font>& font);
    void setFontColor(const Color& c)
    {
        if (c == m_textColor)
            return;
        m_textColor = c;
        invalidate();
    }
    void enableLineBreaking(bool on)
    {
        if (on == m_lineBreaking)
            return;
        m_lineBreaking = on;
        invalidate();
    }
    /// Only the minimum height depends on it, so nothing is redrawn.
    void setMinNumLines(int n) { m_minNumLines = n; }
    void setBidiMode(Bidi::Mode mode)
    {
        if (mode == m_bidiMode)
            return;
        m_bidiMode = mode;
        invalidate();
    }
    Bidi::Mode getBidiMode() const { return m_bidiMode; }

    /// Fades the text from transparent white to its colour in ten steps of
    /// 50 ms; a fade in progress starts again from transparent.
    void fadeIn();

    void draw(Painter& p) override;
    void onTimeout(int id) override;
    /// The text's size with only its own line feeds breaking it.
    int getAutoMinWidth() const override;
    /// At least the minimum number of lines.
    int getAutoMinHeight() const override;

protected:
    /// The text colour as disabling and fading change it.
    Color drawingColor() const;

private:
    static const int c_fadeSteps = 10;
    static const int c_fadeIntervalMs = 50;

    std::shared_ptr<const Font> m_font;
    Color m_textColor;
    LString m_text;
    bool m_lineBreaking = true;
    int32_t m_minNumLines = 1;
    Bidi::Mode m_bidiMode = 0;
    HAlign m_halign;
    VAlign m_valign;
    int32_t m_fadeStep = 0;
    int32_t m_fadeSteps = 0;
    int32_t m_fadeTimer = -1;
};

} // namespace OKU

#endif
