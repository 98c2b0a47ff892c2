// lifeboat-sim: runs the unmodified lifeboat program on a simulated device on
// a development machine; see Options.cpp for its use.

#include <iostream>
#include <stdexcept>

#include "BuildTree.h"
#include "FramebufferView.h"
#include "HeadlessInterpreter.h"
#include "Options.h"
#include "RotatedScreen.h"
#include "SdlFrontEnd.h"
#include "SimState.h"
#include "SimulatedDevice.h"
#include "SimulatorStatus.h"

namespace {

using namespace sim;

int simulate(const Options& options, const BuildTree& build)
{
    SimState state(options.stateDir, build);
    state.prepare(options.reset);
    std::cout << "state " << state.directory() << std::endl;
    FramebufferView panel(state.path("fb"), options.display.pageFlip ? 2 : 1);
    SimulatedDevice device(state, panel, build, options.program, options.programArguments,
                           options.display, options.inputs, std::cout);
    const RotatedScreen screen(panel, options.display.rotation);
    device.boot();
    if (!options.headless)
        if (const std::unique_ptr<SdlFrontEnd> window =
                SdlFrontEnd::open(device, screen, build.fontDir))
            return window->run();
    return HeadlessInterpreter(device, screen, std::cout).run(options.script);
}

} // namespace

int main(int argc, char** argv)
{
    const BuildTree build = BuildTree::current();
    Options options;
    try {
        options = parseOptions(argc, argv, build);
    } catch (const std::invalid_argument& e) {
        std::cerr << "lifeboat-sim: " << e.what() << "\n" << usage();
        return STATUS_CANNOT_RUN;
    }
    if (options.help) {
        std::cout << usage();
        return STATUS_DONE;
    }
    try {
        return simulate(options, build);
    } catch (const std::exception& e) {
        std::cout << "error " << e.what() << std::endl;
        return STATUS_CANNOT_RUN;
    }
}
