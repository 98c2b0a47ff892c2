#include "gui/widgets/ButtonBase.h"

namespace OKU {

ButtonBase::ButtonBase(Widget* parent)
    : Widget(parent), m_clickHelper(this, signalIntClick, signalLongClick)
{
    signalIntClick.connect(sigc::mem_fun(*this, &ButtonBase::onIntClick));
}

void ButtonBase::setRepeat(int delay, int interval)
{
    m_repeatDelay = delay;
    m_repeatInterval = interval < 1 ? delay : interval;
}

bool ButtonBase::clickAllowed()
{
    return true;
}

void ButtonBase::onMouseDown(int, int)
{
    m_clickHelper.onMouseDown();
    goDown();
    if (repeatWanted()) {
        emitRepeat();
        if (m_down)
            startRepeat(m_repeatDelay);
    }
}

void ButtonBase::onMouseMove(int x, int y)
{
    m_clickHelper.onMouseMove(x, y);
    const bool inside = Rect(Point(), getSize()).contains(Point(x, y));
    if (inside && !m_down) {
        goDown();
        if (repeatWanted())
            startRepeat(m_repeatInterval);
    } else if (!inside && m_down) {
        goUp();
    }
}

void ButtonBase::onMouseUp(int x, int y)
{
    stopRepeat();
    if (m_down)
        goUp();
    m_clickHelper.onMouseUp(x, y);
}

void ButtonBase::onTimeout(int id)
{
    m_clickHelper.onTimeout(id);
    if (id != m_repeatTimer)
        return;
    stopRepeat();
    emitRepeat();
    if (m_down)
        startRepeat(m_repeatInterval);
}

void ButtonBase::draw(Painter&)
{
}

std::vector<Rect> ButtonBase::getFocusAreas() const
{
    return {Rect(0, 0, m_width, m_height)};
}

void ButtonBase::onIntClick()
{
    if (clickAllowed())
        signalClicked.emit();
}

void ButtonBase::goDown()
{
    m_down = true;
    signalPressed.emit();
    invalidate();
}

void ButtonBase::goUp()
{
    m_down = false;
    signalReleased.emit();
    stopRepeat();
    invalidate();
}

bool ButtonBase::repeatWanted() const
{
    return !signalRepeat.empty() && m_repeatDelay >= 0;
}

void ButtonBase::emitRepeat()
{
    m_inRepeat = true;
    signalRepeat.emit();
    m_inRepeat = false;
}

void ButtonBase::startRepeat(int ms)
{
    m_repeatTimer = addTimeout(ms);
}

void ButtonBase::stopRepeat()
{
    if (m_repeatTimer < 0)
        return;
    killTimeout(m_repeatTimer);
    m_repeatTimer = -1;
}

} // namespace OKU
