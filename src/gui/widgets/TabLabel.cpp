#include "gui/widgets/TabLabel.h"

#include <algorithm>
#include <vector>

#include "graphics/Pixmap.h"
#include "gui/theme/Theme.h"
#include "text/Font.h"
#include "text/TextLayout.h"

namespace OKU {

TabbedFrame::Label::~Label() = default;

Color TabbedFrame::Label::getDefaultColor(State state)
{
    switch (state) {
    case ACTIVE:
        return s_defaultActiveFgColor;
    case INACTIVE:
        return s_defaultInactiveFgColor;
    case DISABLED:
        return s_defaultDisabledFgColor;
    }
    return Color(255, 0, 0, 255);
}

TabbedFrame::TextLabel::TextLabel(const TabbedFrame* frame, const LString& text)
    : m_frame(frame), m_text(text), m_font(Theme::g()->getStandardFont(s_defaultFontSize))
{
}

Size TabbedFrame::TextLabel::getMinSize() const
{
    const Size text = m_font->getTextSize(m_text.str());
    return Size(text.width + m_leftMargin + m_rightMargin,
                text.height + m_topMargin + m_bottomMargin);
}

void TabbedFrame::TextLabel::draw(Painter& p, const Rect& r, State state, bool) const
{
    const Rect box(r.x + m_leftMargin, r.y + m_topMargin,
                   std::max(0, r.width - m_leftMargin - m_rightMargin),
                   std::max(0, r.height - m_topMargin - m_bottomMargin));
    if (box.isEmpty())
        return;
    Painter::StateSaver saver(p);
    p.setClipRect(p.getClipRect().intersection(box));

    const std::wstring text = m_text.str();
    const std::vector<const Font*> fonts{m_font.get()};
    const int align = toTextHAlign(layoutAlign(m_frame->getLayout(), HAlign::LEFT, m_text));
    int textWidth = 0;
    int textHeight = 0;
    const TextLayout<Font> layout(0, 0, fonts, text.data(), text.data() + text.size(), nullptr, 0,
                                  0, 0, align, &textWidth, &textHeight, 0);

    // The text goes through a pixmap of its own so that its end can fade
    // without touching the tab behind it.
    Pixmap picture(box.width, box.height, true);
    picture.drawTextLayout(0, 0, box.width, box.height, layout, getDefaultColor(state), textHeight,
                           VAlign::CENTER);
    if (box.width < textWidth) {
        const int fade = 2 * (m_font->getAscender() + m_font->getDescender());
        picture.maskHorizontalGradient(Rect(box.width - fade, 0, fade, box.height), 255, 0);
    }
    p.drawPixmap(box.x, box.y, picture);
}

} // namespace OKU
