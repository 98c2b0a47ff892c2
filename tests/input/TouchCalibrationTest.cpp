#include "input/detail/TouchCalibration.h"

#include <sys/stat.h>

#include <limits>
#include <set>
#include <tuple>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/HostileFiles.h"
#include "input/CalibrationPage.h"
#include "input/SerialController.h"

using namespace OKU;

namespace {

typedef TouchCalibration::Coefficients Coefficients;

const Coefficients c_distinct = {2, 3, 0.25f, 0.5f, 0, 0, 0, 0, 0, 0, 7, 11};

// Nine targets on an 800 x 600 screen, touched where a controller whose
// axes are an affine image of the screen's reports them (see onTarget()).
std::vector<TouchScreen::CalibrationPoint> affinePoints()
{
    std::vector<TouchScreen::CalibrationPoint> points;
    for (int y : {70, 300, 549})
        for (int x : {50, 400, 749})
            points.push_back({x, y, onTarget(Point(x, y)).x, onTarget(Point(x, y)).y});
    return points;
}

} // namespace

// A fit of affine points is exact; nine touches that missed their crosses
// give a fit that misses them too.
TEST(TouchCalibrationTest, LargestErrorShowsTouchesThatMissedTheirTargets)
{
    const double scale = 1.0 / 1024;
    std::vector<TouchScreen::CalibrationPoint> points = affinePoints();
    EXPECT_LT(TouchCalibration::fit(points, scale).largestError(points, scale), 0.01);

    points[4].rawX += 5 * 200; // the middle touch 200 pixels right of its cross
    EXPECT_GT(TouchCalibration::fit(points, scale).largestError(points, scale), 50);

    for (TouchScreen::CalibrationPoint& p : points)
        std::tie(p.rawX, p.rawY) = std::make_pair(3000, 2000);
    EXPECT_EQ(std::numeric_limits<double>::infinity(),
              TouchCalibration::fit(points, scale).largestError(points, scale));
}

TEST(TouchCalibrationTest, TransformRoundsHalfUpAndClampsToScreen)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Coefficients identity = TouchCalibration().getCoefficients();
    const struct {
        Coefficients c;
        float scale;
        int rawX, rawY;
        Point expected;
    } cases[] = {
        {identity, 1.0f, -5, 700, Point(0, 599)},
        {identity, 1.0f, 800, 600, Point(799, 599)},
        {identity, 1.0f, 100000000, -100000000, Point(799, 0)},
        {{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0.5f, -0.5f}, 1.0f, 10, 10, Point(11, 10)},
        {{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0.49f, -0.51f}, 1.0f, 10, 10, Point(10, 9)},
        {{1024, 0, 0, 1024, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0f / 1024, 799, 3000, Point(799, 599)},
        // All six terms at x=2, y=3: 2+3+6+4+9+1 and twice that.
        {{1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}, 1.0f, 2, 3, Point(25, 50)},
        // What a fit from nine touches at one place gives.
        {{nan, nan, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0f, 10, 10, Point(0, 0)},
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.expected, TouchCalibration(t.c).transform(t.rawX, t.rawY, t.scale, 800, 600))
            << t.rawX << "," << t.rawY;
}

TEST(TouchCalibrationTest, RefusedFilesAndFailedSavesChangeNothing)
{
    TempDir dir;
    for (const char* text : {"5 1 0 0 1 0 0 0 0 0 0 0 0\n", // another format
                             "6 1 0 0 1 0 0 0 0 0 0 0\n",   // eleven numbers
                             "6 1 0 0 1 0 0 0 0 0 0 0 0",   // cut before the line end
                             "6 1 0 0 1 0 0 x 0 0 0 0 0\n", ""}) {
        dir.write("calibration", text);
        TouchCalibration calibration(c_distinct);
        EXPECT_FALSE(calibration.load(dir / "calibration")) << text;
        EXPECT_EQ(c_distinct, calibration.getCoefficients()) << text;
    }
    EXPECT_FALSE(TouchCalibration().load(dir / "missing"));

    ASSERT_TRUE(TouchCalibration().save(dir / "calibration"));
    // A directory in the way of the temporary file fails the write, even for root.
    ASSERT_EQ(0, mkdir((dir / "calibration.new").c_str(), 0755));
    EXPECT_FALSE(TouchCalibration(c_distinct).save(dir / "calibration"));
    EXPECT_EQ("6 1 0 0 1 0 0 0 0 0 0 0 0\n", dir.read("calibration"));
    EXPECT_FALSE(TouchCalibration().save(dir / "missing/calibration"));
}

// The device's application writes the directory of the calibration file, so
// it may have left a FIFO or a link to a device there: such files, and files
// over the limit, are refused at once and change nothing.
TEST(TouchCalibrationTest, CalibrationFileIsARegularFileWithinTheLimit)
{
    TempDir dir;
    for (const std::string& path : makeHostileFiles(dir, TouchCalibration::c_maxFileBytes)) {
        EXPECT_TRUE(refusedQuickly([&] {
            TouchCalibration calibration(c_distinct);
            return calibration.load(path) || calibration.getCoefficients() != c_distinct;
        })) << path;
    }
    std::string text = "6 2 3 0.25 0.5 0 0 0 0 0 0 7 11\n";
    text.resize(TouchCalibration::c_maxFileBytes, ' ');
    dir.write("full", text);
    TouchCalibration calibration;
    ASSERT_TRUE(calibration.load(dir / "full"));
    EXPECT_EQ(c_distinct, calibration.getCoefficients());
    dir.write("over", text + " ");
    EXPECT_FALSE(TouchCalibration().load(dir / "over"));

    // Whatever lies under the temporary name, a FIFO or a link, is replaced,
    // not opened.
    ASSERT_EQ(0, mkfifo((dir / "saved.new").c_str(), 0600));
    EXPECT_TRUE(refusedQuickly([&] { return !calibration.save(dir / "saved"); }));
    ASSERT_EQ(0, symlink((dir / "full").c_str(), (dir / "saved.new").c_str()));
    ASSERT_TRUE(calibration.save(dir / "saved"));
    EXPECT_EQ(text, dir.read("full"));
    EXPECT_EQ("6 2 3 0.25 0.5 0 0 0 0 0 0 7 11\n", dir.read("saved"));
}

// A device whose calibration file is missing or refused is not calibrated,
// whatever its marker says; a calibration that cannot be stored still applies.
TEST(CalibrationStateTest, ResetLoadSaveAndRawMode)
{
    TempDir dir;
    ScopedEnv marker("OKU_TS_CALIBRATED_FILE", (dir / "calibrated").c_str());
    CalibrationState state(1.0f);
    EXPECT_FALSE(state.isRaw());
    state.setCalibration(TouchCalibration(c_distinct));
    // 2*10 + 20/4 + 7, 3*10 + 20/2 + 11
    EXPECT_EQ("press 32 51", serialtest::describe(state.convert(true, 10, 20, 800, 600, 0)));
    EXPECT_FALSE(state.load(dir / "missing"));
    EXPECT_EQ(c_distinct, state.getCalibration().getCoefficients());
    EXPECT_THROW(state.save(dir / "missing/calibration"), CalibrationNotSaved);
    EXPECT_EQ(c_distinct, state.getCalibration().getCoefficients());

    TouchScreen::setCalibrated(true);
    state.reset();
    EXPECT_FALSE(TouchScreen::isCalibrated());
    EXPECT_TRUE(state.isRaw());
    EXPECT_EQ(TouchCalibration().getCoefficients(), state.getCalibration().getCoefficients());
    EXPECT_EQ("release 5000 -3", serialtest::describe(state.convert(false, 5000, -3, 800, 600, 0)));
    ASSERT_TRUE(TouchCalibration(c_distinct).save(dir / "calibration"));
    EXPECT_TRUE(state.load(dir / "calibration"));
    EXPECT_EQ(c_distinct, state.getCalibration().getCoefficients());
    EXPECT_TRUE(state.isRaw());
}

// The GUI thread switches raw mode and calibrations while the reading thread
// converts: every report must follow one whole setting, never a mixture.
TEST(CalibrationStateTest, ReportsSeeWholeSettings)
{
    CalibrationState state(1.0f);
    const TouchCalibration first(Coefficients{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 3, 4});
    const TouchCalibration second(Coefficients{0, 2, 3, 0, 0, 0, 0, 0, 0, 0, 5, 7});
    state.setCalibration(first);
    // raw, first, second (3*20 + 5, 2*10 + 7)
    const std::set<std::pair<int, int>> allowed = {{10, 20}, {13, 24}, {65, 27}};
    const int rounds = 20000;
    std::thread gui([&] {
        for (int i = 0; i < rounds; ++i) {
            state.setRaw(i % 3 == 0);
            state.setCalibration(i % 2 ? first : second);
        }
    });
    int mixed = 0;
    for (int i = 0; i < rounds; ++i) {
        const TouchScreen::Event e = state.convert(true, 10, 20, 800, 600, 0);
        mixed += allowed.count({e.x, e.y}) == 0;
    }
    gui.join();
    EXPECT_EQ(0, mixed);
}
