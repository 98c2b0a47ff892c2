#ifndef OKU_GUI_DISPLAY_BACKEND_H
#define OKU_GUI_DISPLAY_BACKEND_H

#include <string>

#include "core/NonCopyable.h"
#include "core/Visibility.h"
#include "gui/tree/RootWidget.h"

namespace OKU {

/// Connects the toolkit to the device: owns the root widget of the display
/// (a KMS device when OKU_DRMDEV is set and not empty, see DrmOutput; else
/// the framebuffer, see FbOutput), turns the touch controller's reports
/// into mouse events and the keys of every keyboard among the input devices
/// (OKU_INPUT_DIR, "/dev/input" by default, see KeyboardWatcher) into key
/// events.
class Backend : private NonCopyable {
public:
    /// Only width and height reach the root widget, which takes its real size
    /// from the display; the other arguments serve windowed back ends.
    /// Throws SetupError when the display cannot be driven (see FbOutput and
    /// DrmOutput) or OKU_ROTATION is invalid; what a touch controller that
    /// fails to start does is openTouchScreen's.
    Backend(const std::string& title, int width, int height, bool fullScreen, int argc,
            char** argv, const std::string& iconName);

    RootWidget* getRoot() const { return m_root; }

    /// Starts the GUI thread and the keyboards' thread, then reads the touch
    /// controller on the calling thread for ever and injects every report as
    /// a mouse event; a release carries the position of the last pressed
    /// report. Reports waiting at the start are injected before the GUI
    /// thread starts (waiting a quarter of a second at most). Without a
    /// controller the calling thread sleeps for ever.
    [[noreturn]] void mainLoop();

    /// The same loops, but the touch controller is read on a thread of its
    /// own, and the call returns once RootWidget::quit(status) has ended the
    /// event loop: status, which main can return. The touch and keyboard
    /// threads go on until the process ends; they only queue events nobody
    /// handles any more. The console leaves graphics mode when the process
    /// ends, however it ends.
    int run();

private:
    /// Starts the GUI thread (after the reports waiting at the start, see
    /// mainLoop) and the keyboards' thread, then reads the touch controller
    /// for ever.
    [[noreturn]] OKU_LOCAL void readTouchScreen();

    /// Lives as long as the process, whose threads may still use it.
    RootWidget* m_root;
};

} // namespace OKU

#endif
