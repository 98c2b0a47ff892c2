#include "input/CalibrationScreen.h"

#include "graphics/Pixmap.h"
#include "gui/Button.h"
#include "gui/Frame.h"
#include "gui/RootWidget.h"
#include "gui/StaticPixmap.h"
#include "gui/StaticText.h"
#include "gui/Theme.h"
#include "text/L10n.h"

namespace OKU {

namespace {

// Column 0..2 and row 0..2 of the grid, kept clear of the frame's edges and
// its title.
int gridX(int column, int width)
{
    const int xs[] = {50, width / 2, width - 51};
    return xs[column];
}

int gridY(int row, int height)
{
    const int ys[] = {70, height / 2, height - 51};
    return ys[row];
}

} // namespace

CalibrationScreen::CalibrationScreen(RootWidget* root)
    : Screen(root), m_crossPixmap(Theme::g()->getCache().getPixmap("green-x"))
{
    // The targets sit where the calibration says they are on the glass; a
    // right-to-left language changes their order, never their place.
    setLayout(Layout::LTR);
    for (int i = 0; i < c_pointCount; ++i) {
        TouchScreen::CalibrationPoint point;
        point.screenX = gridX(i % 3, m_width);
        point.screenY = gridY(i / 3, m_height);
        m_points.push_back(point);
    }

    Frame* frame = new Frame(this, LString(LString1(L"Touch screen calibration")), HAlign::CENTER);
    frame->setGeometry(10, 10, m_width - 20, m_height - 20);
    m_text = new StaticText(
        this, LString(LString1(L"Click on the green X symbol to calibrate the touch screen!")),
        HAlign::CENTER, VAlign::CENTER);
    m_text->setGeometry(30, 0, m_width - 60, m_height / 2);
    m_cross = new StaticPixmap(this, m_crossPixmap, false, false);
    m_cross->resize(m_crossPixmap->getWidth(), m_crossPixmap->getHeight());
    showCross();

    grabMouse();
    root->getTouchScreen()->startRawCoordinates();
}

int CalibrationScreen::shownPoint(int index) const
{
    if (l10nIsLTR())
        return index;
    switch (index % 3) {
    case 0:
        return index + 2;
    case 2:
        return index - 2;
    default:
        return index;
    }
}

void CalibrationScreen::showCross()
{
    const TouchScreen::CalibrationPoint& point = m_points[shownPoint(m_index)];
    m_cross->move(point.screenX - m_cross->getWidth() / 2, point.screenY - m_cross->getHeight() / 2);
    m_cross->show();
}

void CalibrationScreen::onMouseDown(int x, int y)
{
    if (m_timer != -1 || m_index >= c_pointCount)
        return;
    TouchScreen::CalibrationPoint& point = m_points[shownPoint(m_index)];
    point.rawX = x;
    point.rawY = y;
    m_cross->hide();
    ++m_index;
    if (m_index < c_pointCount) {
        m_timer = addTimeout(c_pauseMs);
        return;
    }
    Button* ok = new Button(this, LString(LString1(L"OK")), nullptr,
                            WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER, VAlign::CENTER);
    ok->minimize(true, true);
    ok->center();
    ok->signalClicked.connect(sigc::mem_fun(*this, &CalibrationScreen::okClicked));
    m_text->setText(LString(LString1(
        L"Calibration complete.\n\nPress OK to accept the calibration, or cycle power to "
        L"recalibrate!")));
}

void CalibrationScreen::onTimeout(int)
{
    killTimeout(m_timer);
    m_timer = -1;
    showCross();
}

// Only the release that ends the grab installs the calibration; later presses
// on the page, outside the OK button, must not install it again.
void CalibrationScreen::onMouseUp(int, int)
{
    RootWidget* root = getRoot();
    if (m_index < c_pointCount || root->getMouseGrabber() != this)
        return;
    TouchScreen* touchScreen = root->getTouchScreen();
    touchScreen->setCalibration(m_points, m_width - 1, m_height - 1);
    touchScreen->endRawCoordinates();
    ungrabMouse();
}

void CalibrationScreen::okClicked()
{
    TouchScreen::setCalibrated(true);
    destroy();
}

} // namespace OKU
