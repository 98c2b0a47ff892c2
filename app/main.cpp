#include <unistd.h>

#include <iostream>
#include <locale>
#include <stdexcept>
#include <string>

#include "ExternalDisk.h"
#include "core/FatalError.h"
#include "core/FileFinder.h"
#include "core/ProcessExit.h"
#include "core/SetupError.h"
#include "core/Trace.h"
#include "core/Utf8.h"
#include "gui/display/Backend.h"
#include "gui/theme/Theme.h"
#include "input/TouchScreen.h"

#include "DeviceLanguage.h"
#include "LifeboatScreen.h"
#include "MyCalibrationScreen.h"
#include "ScriptFinder.h"
#include "SearchPaths.h"

OKU::Backend* g_backend = nullptr;

namespace {

// The device's start-up script acts on the exit status, so a failure ends
// with its message and status 1, never with a signal.
void reportFatalError(const char* message)
{
    std::cerr << message << std::endl;
}

// The user's character classification, or the classic one when the
// environment names a locale this system does not have: a rescue program
// must not stop over a language setting.
std::locale userLocale()
{
    try {
        return std::locale(std::locale(), std::locale(""), std::locale::ctype);
    } catch (const std::runtime_error&) {
        std::cerr << "lifeboat: the locale of LC_ALL, LC_CTYPE or LANG is not available; "
                     "using the classic locale"
                  << std::endl;
        return std::locale::classic();
    }
}

} // namespace

// The program never returns from here: the operator's choice, and every
// failure, ends it through _exit (exitProcess), so no static destructor ever runs.
int main(int argc, char** argv)
{
    std::ios_base::sync_with_stdio(false);
    OKU::setFatalErrorHandler(reportFatalError);
    // Only character classification follows the user's environment; numbers
    // and everything else stay in the classic format the files are written in.
    const std::locale locale = userLocale();
    std::locale::global(locale);
    std::cin.imbue(locale);
    std::cout.imbue(locale);
    std::cerr.imbue(locale);
    std::wcin.imbue(locale);
    std::wcout.imbue(locale);
    std::wcerr.imbue(locale);

    OKU::traceInit(OKU::TRACE_WARNING);

    const std::wstring message = argc >= 2 ? OKU::utf8Decode(argv[1]) : std::wstring();

    const SearchPaths paths = searchPathsFromEnv();
    s_scriptFinder.setPath(paths.scripts, paths.origin);
    OKU::ExternalDisk::initGlobal(s_scriptFinder);
    // The theme keeps a reference to the finder; main never returns.
    const OKU::FileFinder resourceFinder(paths.resources, paths.origin);
    // A device that cannot be set up has no screen to say so on: the line
    // goes to standard error, which the start-up script logs.
    try {
        loadDeviceLanguage(resourceFinder);

        g_backend = new OKU::Backend("Lifeboat", 800, 480, false, argc, argv, "appicon");
        OKU::Theme::initGlobal(resourceFinder);

        OKU::RootWidget* root = g_backend->getRoot();
        if (root->getTouchScreen() != nullptr && !OKU::TouchScreen::isCalibrated())
            new MyCalibrationScreen(root, message);
        else
            new LifeboatScreen(root, message);
    } catch (const OKU::SetupError& failure) {
        std::cerr << failure.what() << std::endl;
        OKU::exitProcess(1);
    }

    g_backend->mainLoop();
    OKU::exitProcess(0);
}
