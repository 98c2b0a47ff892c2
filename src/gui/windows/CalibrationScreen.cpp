#include "gui/windows/CalibrationScreen.h"

#include <algorithm>
#include <cmath>

#include "graphics/Pixmap.h"
#include "gui/theme/Theme.h"
#include "gui/tree/RootWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticPixmap.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/MsgBox.h"
#include "input/detail/TouchCalibration.h"
#include "text/L10n.h"

namespace OKU {

namespace {

const wchar_t* const c_title = translatable(L"Touch screen calibration");
// Keeps the squared terms of controller units small in the check's fit.
const double c_checkRawScale = 1.0 / 1024;
const double c_largestErrorOfDiagonal = 0.02;
// A finger held on a cross for minutes (or a panel stuck pressed) must not
// fill the memory; this many reports are plenty for a median.
const size_t c_maxSamples = 4096;

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

// The middle value (the lower of the two middle ones for an even count).
int32_t median(std::vector<int32_t> values)
{
    const auto middle = values.begin() + (values.size() - 1) / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
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

    Frame* frame = new Frame(this, LString(LString1(c_title)), HAlign::CENTER);
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
    m_touching = true;
    m_samplesX.assign(1, x);
    m_samplesY.assign(1, y);
}

void CalibrationScreen::onMouseMove(int x, int y)
{
    if (!m_touching || m_samplesX.size() >= c_maxSamples)
        return;
    m_samplesX.push_back(x);
    m_samplesY.push_back(y);
}

void CalibrationScreen::takePoint()
{
    TouchScreen::CalibrationPoint& point = m_points[shownPoint(m_index)];
    point.rawX = median(m_samplesX);
    point.rawY = median(m_samplesY);
    m_cross->hide();
    ++m_index;
    if (m_index < c_pointCount) {
        m_timer = addTimeout(c_pauseMs);
        return;
    }
    if (!touchesMatchCrosses()) {
        m_index = 0;
        m_text->setText(LString(LString1(
            L"The touches did not match the crosses.\n\nPlease touch the green X symbol "
            L"again wherever it appears!")));
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

bool CalibrationScreen::touchesMatchCrosses() const
{
    const TouchCalibration fitted = TouchCalibration::fit(m_points, c_checkRawScale);
    return fitted.largestError(m_points, static_cast<float>(c_checkRawScale)) <=
           c_largestErrorOfDiagonal * std::hypot(m_width, m_height);
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
    if (m_touching) {
        m_touching = false;
        takePoint();
    }
    RootWidget* root = getRoot();
    if (m_index < c_pointCount || root->getMouseGrabber() != this)
        return;
    installCalibration();
    ungrabMouse();
    if (!m_saved)
        msgBox(getTop(), LString(LString1(c_title)),
               LString(LString1(L"The calibration could not be saved. It applies until the "
                                L"device is switched off; the next start asks for it again.")));
}

void CalibrationScreen::installCalibration()
{
    TouchScreen* touchScreen = getRoot()->getTouchScreen();
    try {
        touchScreen->setCalibration(m_points, m_width - 1, m_height - 1);
    } catch (const CalibrationNotSaved&) {
        m_saved = false;
    }
    touchScreen->endRawCoordinates();
}

void CalibrationScreen::okClicked()
{
    if (m_saved)
        TouchScreen::setCalibrated(true);
    destroy();
}

} // namespace OKU
