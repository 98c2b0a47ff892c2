#include "input/detail/TouchCalibration.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

#include "core/FileCopy.h"
#include "core/FileStreams.h"
#include "core/RegularFile.h"
#include "core/ScreenRotation.h"
#include "input/detail/SimpleMatrix.h"

namespace OKU {

namespace {

// The file's first number, telling how many coefficients per output follow.
const int c_fileHeader = 6;

// Rounds half up (truncating towards zero after adding 0.5) and clamps to
// 0..size-1; comparing before converting keeps huge and non-finite values
// out of the float-to-int conversion.
int32_t toPixel(float value, int size)
{
    const float shifted = value + 0.5f;
    if (!(shifted >= 1.0f))
        return 0;
    if (shifted >= static_cast<float>(size))
        return size - 1;
    return static_cast<int32_t>(shifted);
}

} // namespace

TouchCalibration::TouchCalibration() : m_coefficients{}
{
    m_coefficients[0] = 1.0f;
    m_coefficients[3] = 1.0f;
}

TouchCalibration::TouchCalibration(const Coefficients& coefficients)
    : m_coefficients(coefficients)
{
}

TouchCalibration TouchCalibration::fit(const std::vector<TouchScreen::CalibrationPoint>& points,
                                       double rawScale)
{
    const int n = static_cast<int>(points.size());
    SimpleMatrix a(n, 6);
    SimpleMatrix b(n, 2);
    for (int i = 0; i < n; ++i) {
        const double x = points[i].rawX * rawScale;
        const double y = points[i].rawY * rawScale;
        const double terms[6] = {x, y, x * y, x * x, y * y, 1.0};
        for (int k = 0; k < 6; ++k)
            a(i, k) = terms[k];
        b(i, 0) = points[i].screenX;
        b(i, 1) = points[i].screenY;
    }

    const SimpleMatrix at = a.transposed();
    const SimpleMatrix c = (at * a).inverse() * (at * b);

    Coefficients coefficients;
    for (int k = 0; k < 6; ++k) {
        coefficients[2 * k] = static_cast<float>(c(k, 0));
        coefficients[2 * k + 1] = static_cast<float>(c(k, 1));
    }
    return TouchCalibration(coefficients);
}

void TouchCalibration::map(float x, float y, float& screenX, float& screenY) const
{
    const Coefficients& c = m_coefficients;
    screenX = c[0] * x + c[2] * y + c[4] * x * y + c[6] * x * x + c[8] * y * y + c[10];
    screenY = c[1] * x + c[3] * y + c[5] * x * y + c[7] * x * x + c[9] * y * y + c[11];
}

Point TouchCalibration::transform(int32_t rawX, int32_t rawY, float rawScale, int width,
                                  int height) const
{
    float screenX, screenY;
    map(rawX * rawScale, rawY * rawScale, screenX, screenY);
    return Point(toPixel(screenX, width), toPixel(screenY, height));
}

double TouchCalibration::largestError(const std::vector<TouchScreen::CalibrationPoint>& points,
                                      float rawScale) const
{
    double largest = 0.0;
    for (const TouchScreen::CalibrationPoint& p : points) {
        float screenX, screenY;
        map(p.rawX * rawScale, p.rawY * rawScale, screenX, screenY);
        const double error = std::hypot(static_cast<double>(screenX) - p.screenX,
                                        static_cast<double>(screenY) - p.screenY);
        if (std::isnan(error))
            return std::numeric_limits<double>::infinity();
        largest = std::max(largest, error);
    }
    return largest;
}

bool TouchCalibration::load(const std::string& path)
{
    std::string text;
    if (!readRegularFile(path, c_maxFileBytes, text))
        return false;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    int header = 0;
    if (!(in >> header) || header != c_fileHeader)
        return false;
    Coefficients coefficients;
    for (float& value : coefficients)
        in >> value;
    // End of file right after the last number means its line end is missing:
    // the file was cut short.
    if (in.fail() || in.eof())
        return false;
    m_coefficients = coefficients;
    return true;
}

bool TouchCalibration::save(const std::string& path) const
{
    const std::string newPath = path + ".new";
    // The device's application writes this directory too: whatever it left
    // under the temporary name (a FIFO would block the open, a link would
    // carry the write elsewhere) gives way to a fresh file.
    ::unlink(newPath.c_str());
    oufstream out(Descriptor(
        ::open(newPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)));
    out.imbue(std::locale::classic());
    out << c_fileHeader;
    for (float value : m_coefficients)
        out << ' ' << value;
    out << std::endl;
    out.close();
    if (out.fail())
        return false;
    return syncRename(newPath, path);
}

CalibrationNotSaved::CalibrationNotSaved(const std::string& path)
    : std::runtime_error("Cannot save the touch calibration to \"" + path + "\".")
{
}

CalibrationState::CalibrationState(float rawScale) : m_rawScale(rawScale)
{
}

void CalibrationState::setRaw(bool raw)
{
    MutexLocker lock(m_mutex);
    m_raw = raw;
}

bool CalibrationState::isRaw() const
{
    MutexLocker lock(m_mutex);
    return m_raw;
}

TouchCalibration CalibrationState::getCalibration() const
{
    MutexLocker lock(m_mutex);
    return m_calibration;
}

void CalibrationState::setCalibration(const TouchCalibration& calibration)
{
    MutexLocker lock(m_mutex);
    m_calibration = calibration;
    m_installed = true;
}

void CalibrationState::fit(const std::vector<TouchScreen::CalibrationPoint>& points)
{
    setCalibration(TouchCalibration::fit(points, m_rawScale));
}

bool CalibrationState::load(const std::string& path)
{
    TouchCalibration calibration;
    if (!calibration.load(path))
        return false;
    setCalibration(calibration);
    return true;
}

bool CalibrationState::save(const std::string& path) const
{
    if (!getCalibration().save(path))
        throw CalibrationNotSaved(path);
    return true;
}

void CalibrationState::reset()
{
    {
        MutexLocker lock(m_mutex);
        m_calibration = TouchCalibration();
        m_raw = true;
        m_installed = false;
    }
    TouchScreen::setCalibrated(false);
}

TouchScreen::Event CalibrationState::convert(bool pressed, int32_t rawX, int32_t rawY, int width,
                                             int height, int rotation) const
{
    TouchScreen::Event event;
    event.pressed = pressed;
    MutexLocker lock(m_mutex);
    Point position(rawX, rawY);
    if (m_raw) {
        // Kept as they are for the calibration screen.
    } else if (m_installed) {
        position = m_calibration.transform(rawX, rawY, m_rawScale, width, height);
    } else {
        const Size panel = rotatedSize(Size(width, height), rotation);
        const Point panelPixel =
            m_calibration.transform(rawX, rawY, m_rawScale, panel.width, panel.height);
        position = deviceToLogical(panelPixel, rotation, panel);
    }
    event.x = position.x;
    event.y = position.y;
    return event;
}

} // namespace OKU
