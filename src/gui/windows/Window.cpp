#include "gui/windows/Window.h"

#include <algorithm>

#include "core/FatalError.h"
#include "graphics/Painter.h"
#include "gui/theme/Theme.h"
#include "text/Font.h"
#include "text/L10n.h"

namespace OKU {

const Color Window::s_defaultBgColor(192, 192, 192, 255);
const Color Window::s_defaultFrameColor(48, 48, 48, 255);
const Color Window::s_defaultTitleBgColor1(64, 86, 128, 255);
const Color Window::s_defaultTitleBgColor2(32, 48, 80, 255);
const Color Window::s_defaultTitleFgColor(255, 255, 255, 255);
const int32_t Window::s_defaultTitleFontSize = 24;

namespace {

// The frame's share of the content offsets: the one-pixel frame line and a
// pixel of background inside it.
const int c_frameWidth = 2;
// The title bar's gradient is this much taller than the text; the text sits
// centred in its upper part.
const int c_titleBarPadding = 4;
// Room left beside the title when the window takes its minimum width.
const int c_titleWidthPadding = 20;

// Checked before the window is linked into the parent.
Widget* topLevelParent(Widget* parent)
{
    if (parent == nullptr || !parent->isTopLevel())
        fatalError("Window parent must be top level");
    return parent;
}

// 0 stays 0: the caller substitutes the minimum size where it applies.
int decodeRequest(int request, int parentSize)
{
    int size = request;
    if (request == -1)
        size = parentSize * 4 / 5;
    else if (request < -1)
        size = parentSize * std::min(-request, 100) / 100;
    return std::min(size, parentSize);
}

} // namespace

Window::Window(Widget* parent, const LString& title, bool closeOnOutsidePress)
    : ContainerWidget(topLevelParent(parent)),
      m_title(title),
      m_closeOnOutsidePress(closeOnOutsidePress),
      m_titleFont(Theme::g()->getStandardFont(s_defaultTitleFontSize))
{
    setBgColor(s_defaultBgColor);
    setForeground(true);
}

Window::Window(Widget* parent, int w, int h, const LString& title, bool closeOnOutsidePress)
    : Window(parent, title, closeOnOutsidePress)
{
    m_requestedWidth = w;
    m_requestedHeight = h;
    const int width = decodeRequest(w, parent->getWidth());
    const int height = decodeRequest(h, parent->getHeight());
    setGeometry((parent->getWidth() - width) / 2, (parent->getHeight() - height) / 2, width,
                height);
}

void Window::setTitle(const LString& title)
{
    m_title = title;
    invalidate();
}

int Window::recalcWidth() const
{
    const int parentWidth = m_parent->getWidth();
    if (m_requestedWidth == 0)
        return std::min(getMinWidth(), parentWidth);
    return decodeRequest(m_requestedWidth, parentWidth);
}

int Window::recalcHeight() const
{
    const int parentHeight = m_parent->getHeight();
    if (m_requestedHeight == 0)
        return std::min(getMinHeight(), parentHeight);
    return decodeRequest(m_requestedHeight, parentHeight);
}

void Window::autoResize()
{
    const Size wanted(recalcWidth(), recalcHeight());
    if (wanted != getSize())
        resize(wanted.width, wanted.height);
    center();
}

// Translated texts change their widths: measure again, then lay out.
void Window::onCreation()
{
    autoResize();
    l10nLanguageSignal.connect(sigc::mem_fun(*this, &Window::l10nChanged));
    runSizer();
}

void Window::onParentResized()
{
    autoResize();
}

// A foreground window is offered every press, also those outside it.
void Window::onMouseDown(int x, int y)
{
    if (m_closeOnOutsidePress && !Rect(0, 0, m_width, m_height).contains(Point(x, y)))
        destroy();
}

bool Window::onKey(KeyCode, wchar_t)
{
    return true;
}

void Window::draw(Painter& p)
{
    Widget::draw(p);
    if (!m_title.empty()) {
        const int textHeight = titleTextHeight();
        p.drawVerticalGradient(Rect(c_frameWidth, c_frameWidth, m_width - 2 * c_frameWidth,
                                    textHeight + c_titleBarPadding),
                               m_titleBgColor1, m_titleBgColor2);
        p.drawString(0, c_frameWidth, m_width, textHeight + c_titleBarPadding / 2, *m_titleFont,
                     m_title.str(), m_titleFgColor, HAlign::CENTER, VAlign::CENTER, 0);
    }
    p.drawHollowRect(0, 0, m_width, m_height, m_frameColor, 1);
}

int Window::getAutoMinWidth() const
{
    const int content = ContainerWidget::getAutoMinWidth();
    if (m_title.empty())
        return content;
    return std::max(content, m_titleFont->getStringWidth(m_title.str()) + c_titleWidthPadding);
}

void Window::getContentOffsets(int& left, int& right, int& top, int& bottom) const
{
    left = right = bottom = c_frameWidth;
    // Below the title bar the content keeps the frame's distance again.
    top = m_title.empty() ? c_frameWidth
                          : c_frameWidth + titleTextHeight() + c_titleBarPadding + c_frameWidth;
}

int Window::titleTextHeight() const
{
    return m_titleFont->getAscender() + m_titleFont->getDescender();
}

} // namespace OKU
