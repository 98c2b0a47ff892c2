#ifndef OKU_GUI_DISPLAY_DRMROOTWIDGET_H
#define OKU_GUI_DISPLAY_DRMROOTWIDGET_H

#include <cstdint>
#include <memory>
#include <string>
#include <xf86drmMode.h>

#include "graphics/FrameWriter.h"
#include "gui/display/DrmDumbBuffer.h"
#include "gui/display/DrmFlipQueue.h"
#include "gui/tree/RootWidget.h"
#include "gui/display/VirtualTerminal.h"

namespace OKU {

/// The root widget of a KMS display (a DRM device such as /dev/dri/card0):
/// the first connected connector is driven in its preferred mode from two
/// dumb buffers, XRGB8888 or RGB565. Each redraw pass is written into the
/// buffer not shown, copying only the areas that buffer lacks (those redrawn
/// in this frame and the one before), and then flipped to at the next
/// vertical blank. The flip's completion is read on the GUI thread before a
/// frame is written into the buffer that was shown, so a buffer is never
/// written while it is on the screen. A device that refuses flips gets its
/// mode set for every frame instead.
class DrmRootWidget : public RootWidget {
public:
    /// The device is $OKU_DRMDEV (default "/dev/dri/card0"); the size comes
    /// from its mode, turned by the panel's mounting ($OKU_ROTATION, see
    /// DisplayRotation.h); width and height are ignored. A device that cannot
    /// be opened, has no connected display, no usable mode or pixel format, or
    /// refuses the buffers or the mode, ends the process with status 1 after
    /// one line on standard error, as does an unknown rotation. The console is
    /// then put into graphics mode, and the touch controller chosen from the
    /// environment installed.
    DrmRootWidget(int width, int height);
    ~DrmRootWidget() override;

    void notifyRedraw(const Rect& r, bool immediate) override;
    void notifyFrameDone(bool immediate) override;

private:
    /// Reads flip events until the pending flip, if any, has happened.
    void waitForFlip();
    /// Shows the buffer through a flip, or a mode set once flips are off.
    void show(int buffer);
    /// 0, or a negative errno value.
    int setMode(int buffer);
    /// Flip events cannot be relied on: the pending flip counts as done and
    /// every later frame is shown with a mode set.
    void giveUpFlips(const std::string& reason);

    std::string m_path;
    int m_fd = -1;
    uint32_t m_connectorId = 0;
    uint32_t m_crtcId = 0;
    drmModeModeInfo m_mode;
    std::unique_ptr<DrmDumbBuffer> m_buffers[2];
    DrmFlipQueue m_flips;
    bool m_pageFlips = true;
    std::unique_ptr<FrameWriter> m_writer;
    /// The console kept off the screen while the device is ours.
    std::unique_ptr<VirtualTerminal> m_terminal;
};

} // namespace OKU

#endif
