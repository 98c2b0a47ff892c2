#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <tuple>

#include "BoardInterpreter.h"
#include "ScriptedDevice.h"
#include "SimulatorStatus.h"
#include "UnixSocketServer.h"

using namespace board;

namespace {

class BlackScreen : public sim::Screen {
public:
    std::vector<uint32_t> snapshot() const override
    {
        return std::vector<uint32_t>(sim::ScreenMode::c_width * sim::ScreenMode::c_height);
    }
};

// Touching, x and y.
typedef std::tuple<bool, int, int> Touch;

struct ScriptRun {
    int status;
    std::string output;
    std::vector<Touch> touches;
};

// Runs the script, written with the included file beside it, on a panel
// turned by rotation degrees.
ScriptRun runScript(const std::string& script, int rotation = 0)
{
    const std::string directory = temporaryDirectory();
    std::ofstream(directory + "/steps.inc") << "wait 1\n";
    const std::string path = directory + "/scenario.txt";
    std::ofstream(path) << script;
    std::ostringstream events;
    ScriptedDevice device(events);
    device.boot();
    const BlackScreen screen;
    ScriptRun run{0, "", {}};
    std::ostringstream out;
    const BoardInterpreter::Tablet tablet = [&run](bool on, int x, int y) {
        run.touches.push_back({on, x, y});
    };
    const sim::PanelRotation turned(sim::ScreenMode::c_width, sim::ScreenMode::c_height, rotation);
    run.status = BoardInterpreter(device, screen, tablet, turned, out).run(path);
    run.output = out.str();
    for (const std::string name : {"/steps.inc", "/scenario.txt", ""})
        std::remove((directory + name).c_str());
    // The scenario's own path in its messages, not a copy's.
    const size_t at = run.output.find(directory);
    if (at != std::string::npos)
        run.output.replace(at, directory.size(), "DIR");
    return run;
}

} // namespace

TEST(BoardInterpreter, RunsTheSimulatorsCommandsBesideTheTabletsAndNamesFailingLines)
{
    const ScriptRun passing = runScript("# a comment\ninclude steps.inc\n\ntablet tap 10 20\n"
                                        "tablet press 799 479  # the last pixel\n"
                                        "tablet move 5 6\ntablet release 5 6\n");
    EXPECT_EQ(passing.status, sim::STATUS_DONE) << passing.output;
    EXPECT_EQ(passing.output, "ok wait\nok tablet\nok tablet\nok tablet\nok tablet\n");
    EXPECT_EQ(passing.touches,
              (std::vector<Touch>{
                  {true, 10, 20}, {false, 10, 20}, {true, 799, 479}, {true, 5, 6}, {false, 5, 6}}));

    // On a panel turned a quarter clockwise the program's top left corner is
    // the panel's top right one.
    EXPECT_EQ(runScript("tablet press 0 0\n", 90).touches, (std::vector<Touch>{{true, 799, 0}}));

    // Each script and what the interpreter says of it.
    const std::pair<const char*, const char*> failing[] = {
        {"wait 1\n\nfrobnicate\ntablet tap 1 1\n",
         "ok wait\nfail DIR/scenario.txt:3: unknown command \"frobnicate\"\n"},
        {"wait 1\ntablet tap 800 0\n", "ok wait\nfail DIR/scenario.txt:2: bad x \"800\"\n"},
        {"tablet poke 1 1\n", "fail DIR/scenario.txt:1: tablet takes \"tap|press|move|release X Y\"\n"},
    };
    for (const auto& [script, output] : failing) {
        const ScriptRun run = runScript(script);
        EXPECT_EQ(run.status, sim::STATUS_CHECK_FAILED) << script;
        EXPECT_EQ(run.output, output) << script;
        EXPECT_TRUE(run.touches.empty()) << script;
    }
}

TEST(BoardInterpreter, DriveAndBackupDataCommandsReachTheDeviceWithinTheirBounds)
{
    std::ostringstream events;
    ScriptedDevice device(events);
    device.boot();
    const BlackScreen screen;
    const sim::PanelRotation upright(sim::ScreenMode::c_width, sim::ScreenMode::c_height, 0);
    const std::string directory = temporaryDirectory();
    const std::string path = directory + "/scenario.txt";
    const auto run = [&](const std::string& script) {
        std::ofstream(path) << script;
        std::ostringstream out;
        const int status = BoardInterpreter(device, screen, nullptr, upright, out).run(path);
        return std::pair(status, out.str());
    };
    EXPECT_EQ(run("usb insert\nusb insert slow read-only size 1024\nusb insert size 1 slow\n"
                  "usb remove\nbackup-data 1\nbackup-data 256\n"),
              std::pair(static_cast<int>(sim::STATUS_DONE),
                        std::string("ok usb insert\nok usb insert\nok usb insert\nok usb remove\n"
                                    "ok backup-data\nok backup-data\n")));
    EXPECT_EQ(device.storage,
              (std::vector<std::string>{"insert size 0", "insert read-only slow size 1024",
                                        "insert slow size 1", "remove", "backup-data 1",
                                        "backup-data 256"}));

    // Sizes outside the drive's and the data's bounds, and a size without one.
    device.storage.clear();
    for (const char* script : {"usb insert size 0\n", "usb insert size 1025\n",
                               "usb insert size\n", "usb insert size slow\n",
                               "usb insert fast\n", "usb remove now\n", "backup-data 0\n",
                               "backup-data 257\n", "backup-data\n"})
        EXPECT_EQ(run(script).first, sim::STATUS_CHECK_FAILED) << script;
    EXPECT_TRUE(device.storage.empty());
    std::remove(path.c_str());
    std::remove(directory.c_str());
}
