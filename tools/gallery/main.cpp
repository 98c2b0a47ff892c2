// oku-gallery: shows every widget of the toolkit. It starts like lifeboat,
// on the same framebuffer, touch controller and resources, so that it runs
// wherever lifeboat does, the device simulator included.

#include <unistd.h>

#include <iostream>

#include "core/FileFinder.h"
#include "core/ProcessExit.h"
#include "core/SetupError.h"
#include "core/Trace.h"
#include "gui/display/Backend.h"
#include "gui/theme/Theme.h"
#include "gui/windows/CalibrationScreen.h"
#include "input/TouchScreen.h"

#include "GalleryScreen.h"
#include "SearchPaths.h"

namespace {

// A device that was never calibrated cannot hit a tab; the gallery follows
// the accepted calibration.
class GalleryCalibrationScreen : public OKU::CalibrationScreen {
public:
    using CalibrationScreen::CalibrationScreen;

    void okClicked() override
    {
        CalibrationScreen::okClicked();
        new GalleryScreen(getRoot());
    }
};

} // namespace

int main(int argc, char** argv)
{
    OKU::traceInit(OKU::TRACE_WARNING);
    // The theme keeps a reference to the finder; main never returns.
    const OKU::FileFinder resourceFinder(searchPathsFromEnv().resources);
    OKU::Backend* backend = nullptr;
    try {
        backend = new OKU::Backend("OKU Gallery", 800, 480, false, argc, argv, "appicon");
    } catch (const OKU::SetupError& failure) {
        std::cerr << failure.what() << std::endl;
        OKU::exitProcess(1);
    }
    OKU::Theme::initGlobal(resourceFinder);

    OKU::RootWidget* root = backend->getRoot();
    if (root->getTouchScreen() != nullptr && !OKU::TouchScreen::isCalibrated())
        new GalleryCalibrationScreen(root);
    else
        new GalleryScreen(root);

    backend->mainLoop();
    _exit(0);
}
