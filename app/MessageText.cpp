#include "MessageText.h"

#include <cwctype>

#include "graphics/Painter.h"
#include "text/Font.h"
#include "text/TextLayout.h"

using namespace OKU;

namespace {

const wchar_t c_ellipsis = L'\u2026';

std::wstring beginningWithEllipsis(const std::wstring& text, size_t length)
{
    std::wstring beginning = text.substr(0, length);
    while (!beginning.empty() && std::iswspace(beginning.back()))
        beginning.pop_back();
    return beginning + c_ellipsis;
}

} // namespace

MessageText::MessageText(Widget* parent, const std::wstring& message,
                         const std::vector<std::shared_ptr<const Font>>& fonts)
    : StaticText(parent, LString(message), HAlign::CENTER, VAlign::CENTER),
      m_fonts(fonts),
      m_message(message),
      m_shownText(message),
      // Until the page knows the width: the message's own lines, unwrapped.
      m_fittedHeight(fonts.front()->getTextSize(message).height)
{
}

int MessageText::heightAt(const Font& font, const std::wstring& text, int width) const
{
    int height = 0;
    TextLayout<Font>(0, 0, {&font}, text.data(), text.data() + text.size(), nullptr, width, 0, 0,
                     TextLayout<Font>::CENTER, nullptr, &height, getBidiMode());
    return height;
}

std::wstring MessageText::elided(const Font& font, int width, int maxHeight) const
{
    // Invariant: a beginning of length low fits (or low is 0), of length
    // high does not.
    size_t low = 0;
    size_t high = m_message.size();
    while (high - low > 1) {
        const size_t middle = low + (high - low) / 2;
        if (heightAt(font, beginningWithEllipsis(m_message, middle), width) <= maxHeight)
            low = middle;
        else
            high = middle;
    }
    return beginningWithEllipsis(m_message, low);
}

bool MessageText::fitInto(int width, int maxHeight)
{
    const int before = m_fittedHeight;
    m_fontIndex = 0;
    int height = heightAt(*m_fonts[0], m_message, width);
    while (height > maxHeight && m_fontIndex + 1 < m_fonts.size())
        height = heightAt(*m_fonts[++m_fontIndex], m_message, width);
    m_shownText = m_message;
    if (height > maxHeight) {
        m_shownText = elided(*m_fonts[m_fontIndex], width, maxHeight);
        height = heightAt(*m_fonts[m_fontIndex], m_shownText, width);
    }
    m_fittedHeight = height;
    invalidate();
    return m_fittedHeight != before;
}

void MessageText::draw(Painter& p)
{
    Widget::draw(p);
    p.drawText(0, 0, m_width, m_height, *getShownFont(), m_shownText, drawingColor(),
               layoutAlign(getLayout(), HAlign::CENTER), VAlign::CENTER, getBidiMode());
}
