#ifndef OKU_GUI_DISPLAY_FBROOTWIDGET_H
#define OKU_GUI_DISPLAY_FBROOTWIDGET_H

#include <cstdint>
#include <linux/fb.h>
#include <memory>

#include "graphics/FrameWriter.h"
#include "gui/display/FbPageFlipper.h"
#include "gui/tree/RootWidget.h"
#include "gui/display/VirtualTerminal.h"

namespace OKU {

/// The root widget of a Linux framebuffer: the tree has the screen's size
/// (width and height swapped on a panel mounted at 90 or 270 degrees,
/// OKU_ROTATION), and every redrawn rectangle of the back buffer is converted
/// straight into the mapped frame memory, on the GUI thread, turned as the
/// panel is mounted. With OKU_FBFLIP set (to anything but "0") on a device
/// that can pan over two frames, complete frames are shown by page flipping
/// instead (see FbPageFlipper).
///
/// Accepted pixel formats (bits per pixel, red/green/blue offset:length):
///
///     32  32 bits, 16:8 8:8 0:8              x8r8g8b8
///     16  16 bits, 11:5 5:6 0:5 (or 5:5)     r5g6b5, also for a 5-bit green
///     15  16 bits, 0:5 5:5 10:5              x1b5g5r5
///
/// Rows are written line_length bytes apart, so padded lines are honoured.
/// Without page flipping the display is never panned.
class FbRootWidget : public RootWidget {
public:
    /// The size comes from the device ($OKU_FBDEV, default "/dev/fb0") and
    /// its mounting; width and height are ignored. A device that cannot be opened, queried or
    /// mapped, has another pixel format, or lines or frame memory too small
    /// for its resolution, ends the process with status 1
    /// after one line on standard error. The console is then put into
    /// graphics mode, and the touch controller chosen from the environment and
    /// installed.
    FbRootWidget(int width, int height);
    ~FbRootWidget() override;

    void notifyRedraw(const Rect& r, bool immediate) override;
    void notifyFrameDone(bool immediate) override;

private:
    int32_t m_fd = -1;
    void* m_frameMemory = nullptr;
    fb_fix_screeninfo m_fixInfo;
    fb_var_screeninfo m_varInfo;
    std::unique_ptr<FrameWriter> m_writer;
    /// Null when frames go straight into the visible memory.
    std::unique_ptr<FbPageFlipper> m_flipper;
    /// The console kept off the screen while the device is ours.
    std::unique_ptr<VirtualTerminal> m_terminal;
};

} // namespace OKU

#endif
