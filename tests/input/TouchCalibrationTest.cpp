#include "input/TouchCalibration.h"

#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/FatalError.h"
#include "core/Paths.h"
#include "core/TempDir.h"
#include "input/SimpleMatrix.h"

using namespace OKU;

namespace {

typedef TouchCalibration::Coefficients Coefficients;

// The calibration screen's nine targets on an 800 x 600 screen, touched on a
// controller whose raw axes are an affine image of the screen (sheared,
// scaled and offset, y running against the screen's x).
std::vector<TouchScreen::CalibrationPoint> affinePoints()
{
    std::vector<TouchScreen::CalibrationPoint> points;
    for (int y : {70, 300, 549})
        for (int x : {50, 400, 749}) {
            TouchScreen::CalibrationPoint p;
            p.screenX = x;
            p.screenY = y;
            p.rawX = 5 * x + y + 200;
            p.rawY = -x + 6 * y + 1000;
            points.push_back(p);
        }
    return points;
}

std::tuple<bool, int, int> asTuple(const TouchScreen::Event& e)
{
    return std::make_tuple(e.pressed, e.x, e.y);
}

Coefficients distinctCoefficients()
{
    return Coefficients{2, 3, 0.25f, 0.5f, 0, 0, 0, 0, 0, 0, 7, 11};
}

} // namespace

TEST(TouchCalibrationTest, AffinePointsFitExactlyAtBothScales)
{
    for (double scale : {1.0 / 1024, 1.0}) {
        SCOPED_TRACE(scale);
        const TouchCalibration calibration = TouchCalibration::fit(affinePoints(), scale);
        const Coefficients& c = calibration.getCoefficients();
        for (int k = 4; k < 10; ++k)
            EXPECT_NEAR(0.0, c[k], 1e-9) << "c" << k;
        for (const TouchScreen::CalibrationPoint& p : affinePoints())
            EXPECT_EQ(Point(p.screenX, p.screenY),
                      calibration.transform(p.rawX, p.rawY, static_cast<float>(scale), 800, 600));
    }
}

TEST(TouchCalibrationTest, TransformRoundsHalfUpAndClampsToScreen)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        Coefficients c;
        float scale;
        int rawX, rawY;
        Point expected;
    } cases[] = {
        {TouchCalibration().getCoefficients(), 1.0f, 10, 20, Point(10, 20)},
        {TouchCalibration().getCoefficients(), 1.0f, -5, 700, Point(0, 599)},
        {TouchCalibration().getCoefficients(), 1.0f, 800, 600, Point(799, 599)},
        {TouchCalibration().getCoefficients(), 1.0f, 100000000, -100000000, Point(799, 0)},
        {{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0.5f, -0.5f}, 1.0f, 10, 10, Point(11, 10)},
        {{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0.49f, -0.51f}, 1.0f, 10, 10, Point(10, 9)},
        {{1024, 0, 0, 1024, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0f / 1024, 799, 3000, Point(799, 599)},
        // All six terms: x=2, y=3 gives 2+3+6+4+9+1 and 2*(2+3+6+4+9+1).
        {{1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}, 1.0f, 2, 3, Point(25, 50)},
        // A fit from points at one place gives non-finite coefficients.
        {{nan, nan, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0f, 10, 10, Point(0, 0)},
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.expected, TouchCalibration(t.c).transform(t.rawX, t.rawY, t.scale, 800, 600))
            << t.rawX << "," << t.rawY;
}

TEST(TouchCalibrationTest, SavedFileReloads)
{
    TempDir dir;
    ASSERT_TRUE(TouchCalibration().save(dir / "identity"));
    EXPECT_EQ("6 1 0 0 1 0 0 0 0 0 0 0 0\n", dir.read("identity"));
    EXPECT_FALSE(pathExists(dir / "identity.new"));

    const TouchCalibration fitted = TouchCalibration::fit(affinePoints(), 1.0 / 1024);
    ASSERT_TRUE(fitted.save(dir / "fitted"));
    TouchCalibration loaded;
    ASSERT_TRUE(loaded.load(dir / "fitted"));
    for (int k = 0; k < TouchCalibration::c_count; ++k) {
        const float expected = fitted.getCoefficients()[k];
        EXPECT_NEAR(expected, loaded.getCoefficients()[k], std::fabs(expected) * 1e-5 + 1e-12);
    }
    for (const TouchScreen::CalibrationPoint& p : affinePoints())
        EXPECT_EQ(Point(p.screenX, p.screenY),
                  loaded.transform(p.rawX, p.rawY, 1.0f / 1024, 800, 600));
}

TEST(TouchCalibrationTest, IncompleteOrForeignFilesAreRefused)
{
    TempDir dir;
    const char* contents[] = {
        "5 1 0 0 1 0 0 0 0 0 0 0 0\n", // another format
        "6 1 0 0 1 0 0 0 0 0 0 0\n",   // eleven numbers
        "6 1 0 0 1 0 0 0 0 0 0 0 0",   // cut before the line end
        "6 1 0 0 1 0 0 x 0 0 0 0 0\n", // not a number
        "",
    };
    for (const char* text : contents) {
        dir.write("calibration", text);
        TouchCalibration calibration(distinctCoefficients());
        EXPECT_FALSE(calibration.load(dir / "calibration")) << text;
        EXPECT_EQ(distinctCoefficients(), calibration.getCoefficients()) << text;
    }
    TouchCalibration calibration;
    EXPECT_FALSE(calibration.load(dir / "missing"));
}

TEST(TouchCalibrationTest, FailedSaveKeepsPreviousFile)
{
    TempDir dir;
    ASSERT_TRUE(TouchCalibration().save(dir / "calibration"));
    // A directory in the way of the temporary file makes the write fail, even
    // for root.
    ASSERT_EQ(0, mkdir((dir / "calibration.new").c_str(), 0755));
    EXPECT_FALSE(TouchCalibration(distinctCoefficients()).save(dir / "calibration"));
    EXPECT_EQ("6 1 0 0 1 0 0 0 0 0 0 0 0\n", dir.read("calibration"));

    EXPECT_FALSE(TouchCalibration().save(dir / "missing/calibration"));
}

TEST(TouchCalibrationTest, MatrixProductNeedsMatchingInnerDimensions)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setFatalErrorHandler(printFatalMessage);
            SimpleMatrix(2, 3) * SimpleMatrix(2, 3);
        },
        ::testing::ExitedWithCode(1),
        "handled: OKU::SimpleMatrix OKU::SimpleMatrix::operator\\*\\(const OKU::SimpleMatrix&\\) const");
}

TEST(CalibrationStateTest, ResetLoadAndRawMode)
{
    TempDir dir;
    CalibrationState state(1.0f);
    EXPECT_FALSE(state.isRaw());
    state.setCalibration(TouchCalibration(distinctCoefficients()));
    // 2*10 + 0.25*20 + 7 and 3*10 + 0.5*20 + 11
    EXPECT_EQ(std::make_tuple(true, 32, 51), asTuple(state.convert(true, 10, 20, 800, 600)));

    EXPECT_FALSE(state.load(dir / "missing"));
    EXPECT_EQ(distinctCoefficients(), state.getCalibration().getCoefficients());

    state.reset();
    EXPECT_TRUE(state.isRaw());
    EXPECT_EQ(TouchCalibration().getCoefficients(), state.getCalibration().getCoefficients());
    EXPECT_EQ(std::make_tuple(false, 5000, -3), asTuple(state.convert(false, 5000, -3, 800, 600)));

    ASSERT_TRUE(TouchCalibration(distinctCoefficients()).save(dir / "calibration"));
    EXPECT_TRUE(state.load(dir / "calibration"));
    EXPECT_EQ(distinctCoefficients(), state.getCalibration().getCoefficients());
    EXPECT_TRUE(state.isRaw());
}

// The GUI thread switches raw mode and installs calibrations while the
// reading thread converts reports; every report must come out as one of the
// whole settings, never a mixture (run under the thread sanitizer too).
TEST(CalibrationStateTest, ReportsSeeWholeSettings)
{
    CalibrationState state(1.0f);
    const TouchCalibration first(Coefficients{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 3, 4});
    const TouchCalibration second(Coefficients{0, 2, 3, 0, 0, 0, 0, 0, 0, 0, 5, 7});
    state.setCalibration(first);
    const int rawX = 10;
    const int rawY = 20;
    const std::set<std::pair<int, int>> allowed = {
        {rawX, rawY},   // raw mode
        {13, 24},       // first
        {65, 27},       // second: 3*20 + 5, 2*10 + 7
    };

    const int rounds = 20000;
    std::thread gui([&] {
        for (int i = 0; i < rounds; ++i) {
            state.setRaw(i % 3 == 0);
            state.setCalibration(i % 2 ? first : second);
        }
    });
    int mixed = 0;
    for (int i = 0; i < rounds; ++i) {
        const TouchScreen::Event e = state.convert(true, rawX, rawY, 800, 600);
        mixed += allowed.count({e.x, e.y}) == 0;
    }
    gui.join();
    EXPECT_EQ(0, mixed);
}
