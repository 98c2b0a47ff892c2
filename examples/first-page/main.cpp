// A first page built on OKU: a heading and two buttons laid out by sizers;
// "Say hello" opens a message box, "Quit" ends the program. A device whose
// touch screen was never calibrated shows the calibration page first.

#include <iostream>
#include <memory>
#include <string>

#include "core/FileFinder.h"
#include "core/Paths.h"
#include "core/ProcessExit.h"
#include "core/SetupError.h"
#include "core/Trace.h"
#include "gui/display/Backend.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/tree/RootWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/StaticText.h"
#include "gui/windows/CalibrationScreen.h"
#include "gui/windows/MsgBox.h"
#include "gui/windows/Screen.h"
#include "input/TouchScreen.h"

#ifndef OKU_DATA_DIR
#error "OKU_DATA_DIR must name the toolkit's data directory (see CMakeLists.txt)"
#endif

using namespace OKU;

class FirstPage : public Screen {
public:
    explicit FirstPage(Widget* parent) : Screen(parent)
    {
        StaticText* heading =
            new StaticText(this, LString(LString1(L"My first page")), HAlign::CENTER, VAlign::CENTER);
        heading->setFont(Theme::g()->getCache().getFont(40, true, false));

        Button* hello = new Button(this, LString(LString1(L"Say hello")), nullptr,
                                   WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER, VAlign::CENTER);
        hello->signalClicked.connect(sigc::mem_fun(*this, &FirstPage::helloClicked));
        Button* quit = new Button(this, LString(LString1(L"Quit")), nullptr,
                                  WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER, VAlign::CENTER);
        quit->signalClicked.connect([] { exitProcess(0); });

        // The buttons share a row equally; the heading takes what is left above.
        auto buttons = std::make_shared<HSizer>();
        buttons->add(hello, 1, VAlign::STRETCH);
        buttons->add(quit, 1, VAlign::STRETCH);
        auto page = std::make_shared<VSizer>();
        page->add(heading, 1, HAlign::STRETCH);
        page->add(buttons, 0, HAlign::STRETCH);
        setSizer(page);
    }

private:
    void helloClicked()
    {
        // Message boxes belong to the top-level widget, here the root.
        msgBox(getTop(), LString(LString1(L"Hello")), LString(LString1(L"Hello from OKU!")));
    }
};

// The toolkit's calibration page, followed by the first page once accepted.
class FirstCalibration : public CalibrationScreen {
public:
    using CalibrationScreen::CalibrationScreen;

    void okClicked() override
    {
        CalibrationScreen::okClicked();
        new FirstPage(getRoot());
    }
};

int main(int argc, char** argv)
{
    traceInit(TRACE_WARNING);
    // A device's stand-alone installation (and the simulator) names its own
    // resource root; otherwise the toolkit's installed fonts and pictures.
    const std::string root = getEnv("KARO_LIFEBOAT", "");
    const std::string data = root.empty() ? std::string(OKU_DATA_DIR) : root;
    const FileFinder resources(data + "/fonts;" + data + "/pixmaps");

    // A display, touch screen, font or picture the device cannot give is a
    // SetupError: the program decides what follows, here its line and status 1.
    try {
        Backend backend("First page", 800, 480, false, argc, argv, "appicon");
        Theme::initGlobal(resources);
        RootWidget* screen = backend.getRoot();
        if (screen->getTouchScreen() != nullptr && !TouchScreen::isCalibrated())
            new FirstCalibration(screen);
        else
            new FirstPage(screen);
        backend.mainLoop();
    } catch (const SetupError& error) {
        std::cerr << error.what() << std::endl;
        return 1;
    }
}
