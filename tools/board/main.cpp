// lifeboat-board: works lifeboat on an emulated ARM board (started by
// run-board.sh) with the device simulator's headless commands and scenarios.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "BoardDevice.h"
#include "BoardInterpreter.h"
#include "DisplaySettings.h"
#include "InputSettings.h"
#include "QmpScreen.h"
#include "RotatedScreen.h"
#include "SimulatorStatus.h"

namespace {

using namespace board;

const int c_connectMs = 120000;
const int c_defaultSlowdown = 3;
// The emergency page's left smiley in full colour: the page is on the screen.
const int c_pageX = 60;
const int c_pageY = 60;
const uint32_t c_pageColor = 0xfeefaa;
const int c_firstPageMs = 300000;
// The page's fade-ins and the touch thread's start are over by then.
const int c_settleMs = 3000;

struct Options {
    std::string boardDir;
    bool reset = false;
    bool measure = false;
    // The guest kernel's fault-around for the measured run; 0 leaves it.
    int faultAround = 0;
    int slowdown = c_defaultSlowdown;
    sim::DisplaySettings display;
    // The DRM device the program draws on instead of the framebuffer.
    std::string drmDevice;
    sim::InputSettings inputs;
    // The virtio tablet is the touch panel.
    bool tablet = false;
    bool darkDisplay = false;
    std::string script;
    std::vector<std::string> programArguments;
};

const char c_usage[] =
    "usage: lifeboat-board --board DIR [--reset] [--slowdown N] [--rotation DEG] [--flip]\n"
    "                      [--keyboard] [--no-touch] [--tablet] [--drm DEVICE]\n"
    "                      [--dark-display]\n"
    "                      [--measure [--fault-around BYTES] | SCRIPT]\n"
    "                      [-- PROGRAM ARGUMENTS...]\n"
    "Runs lifeboat on the emulated board whose sockets (qmp.sock, agent.sock,\n"
    "touch.sock) and state lie in DIR, and works it with the simulator's headless\n"
    "commands from SCRIPT or standard input (see lifeboat-sim --help) and the\n"
    "board's own for the virtio tablet: tablet tap|press|move|release X Y.\n"
    "  --reset         start from a new device: no calibration, an empty USB drive\n"
    "  --slowdown N    stretch the commands' time-outs N times (default 3)\n"
    "  --drm DEVICE    the program draws on the DRM device (OKU_DRMDEV)\n"
    "  --tablet        the virtio tablet is the touch panel, read by the evdev driver\n"
    "  --dark-display  every start finds the display dark: fb0 blanked, backlights off\n"
    "  --measure       time the start to the first full page, print memory figures\n"
    "  --fault-around BYTES  for the measured run, the board's kernel maps that\n"
    "                  much around each page fault of a file (4096: only the pages\n"
    "                  the program touches)\n";

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--") {
            options.programArguments.assign(argv + i + 1, argv + argc);
            break;
        } else if (arg == "--board" && hasValue) {
            options.boardDir = argv[++i];
        } else if (arg == "--slowdown" && hasValue) {
            options.slowdown = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--drm" && hasValue) {
            options.drmDevice = argv[++i];
        } else if (arg == "--tablet") {
            options.tablet = true;
        } else if (arg == "--dark-display") {
            options.darkDisplay = true;
        } else if (sim::takeDisplayOption(argc, argv, i, options.display) ||
                   sim::takeInputOption(argv, i, options.inputs)) {
            continue;
        } else if (arg == "--reset") {
            options.reset = true;
        } else if (arg == "--measure") {
            options.measure = true;
        } else if (arg == "--fault-around" && hasValue) {
            options.faultAround = std::max(1, std::atoi(argv[++i]));
        } else if (arg.compare(0, 1, "-") != 0 && options.script.empty()) {
            options.script = arg;
        } else {
            throw std::invalid_argument("unexpected argument \"" + arg + "\"");
        }
    }
    if (options.boardDir.empty())
        throw std::invalid_argument("--board DIR is needed");
    return options;
}

// Start of the program to its first full page, and its memory once the page
// stands; printed as "measure NAME VALUE" lines.
int measure(BoardDevice& device, const sim::Screen& screen, const std::string& boardDir)
{
    const auto start = std::chrono::steady_clock::now();
    device.boot();
    if (!sim::pollUntil(device, c_firstPageMs,
                        [&] { return screen.pixel(c_pageX, c_pageY) == c_pageColor; })) {
        std::cout << "fail no page within " << c_firstPageMs << " ms" << std::endl;
        return sim::STATUS_CHECK_FAILED;
    }
    const auto shown = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::cout << "measure first-page-ms " << shown.count() << std::endl;
    // The page's first pixels are on the screen, not yet its last rows.
    sim::pollUntil(device, c_settleMs, [] { return false; });
    screen.toPixmap().savePNG(boardDir + "/first-page.png");
    for (const std::string& line : device.memoryStatus())
        std::cout << "measure " << line << std::endl;
    return sim::STATUS_DONE;
}

int run(const Options& options)
{
    const BoardConnection connection{options.boardDir + "/qmp.sock",
                                     options.boardDir + "/agent.sock",
                                     options.boardDir + "/touch.sock", options.boardDir};
    QmpClient qmp(connection.qmpSocket, c_connectMs);
    const QmpScreen panel(qmp, options.boardDir + "/screen.ppm");
    const sim::RotatedScreen screen(panel, options.display.rotation);
    std::vector<std::string> settings = options.display.programSettings();
    for (const std::string& setting : options.inputs.programSettings())
        settings.push_back(setting);
    if (!options.drmDevice.empty())
        settings.push_back("OKU_DRMDEV=" + options.drmDevice);
    BoardDevice device(connection, qmp, options.programArguments, settings, options.slowdown,
                       std::cout);
    device.setPanelRotation(options.display.rotation);
    device.setInputs(options.inputs, options.tablet);
    device.leaveDisplayDark(options.darkDisplay);
    if (options.reset)
        device.factoryNew();
    if (options.measure) {
        const int kept = options.faultAround != 0 ? device.setFaultAround(options.faultAround) : 0;
        const int status = measure(device, screen, options.boardDir);
        if (kept != 0)
            device.setFaultAround(kept);
        return status;
    }
    device.boot();
    const sim::PanelRotation rotation(sim::ScreenMode::c_width, sim::ScreenMode::c_height,
                                      options.display.rotation);
    const BoardInterpreter::Tablet tablet = [&device](bool touching, int x, int y) {
        device.touchTablet(touching, x, y);
    };
    return BoardInterpreter(device, screen, tablet, rotation, std::cout).run(options.script);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    try {
        options = parseOptions(argc, argv);
    } catch (const std::invalid_argument& e) {
        std::cerr << "lifeboat-board: " << e.what() << "\n"
                  << c_usage << sim::c_displayOptionsUsage << sim::c_inputOptionsUsage;
        return sim::STATUS_CANNOT_RUN;
    }
    try {
        return run(options);
    } catch (const std::exception& e) {
        std::cout << "error " << e.what() << std::endl;
        return sim::STATUS_CANNOT_RUN;
    }
}
