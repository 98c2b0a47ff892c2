#ifndef OKU_GUI_DISPLAY_DETAIL_DRMOUTPUT_H
#define OKU_GUI_DISPLAY_DETAIL_DRMOUTPUT_H

#include <cstdint>
#include <memory>
#include <string>
#include <xf86drmMode.h>

#include "core/Descriptor.h"
#include "graphics/detail/FrameWriter.h"
#include "gui/display/DisplayOutput.h"
#include "gui/display/detail/DrmDumbBuffer.h"
#include "gui/display/detail/DrmFlipQueue.h"
#include "gui/display/detail/VirtualTerminal.h"

namespace OKU {

/// A KMS display (a DRM device such as /dev/dri/card0): the first connected
/// connector is driven in its preferred mode from two dumb buffers, XRGB8888
/// or RGB565. Each frame is written into the buffer not shown, copying only
/// the areas that buffer lacks (those redrawn in this frame and the one
/// before), and then flipped to at the next vertical blank. The flip's
/// completion is read on the GUI thread before a frame is written into the
/// buffer that was shown, so a buffer is never written while it is on the
/// screen. A device that refuses flips gets its mode set for every frame
/// instead.
class DrmOutput : public DisplayOutput {
public:
    /// The device is $OKU_DRMDEV (default "/dev/dri/card0"), turned by the
    /// panel's mounting ($OKU_ROTATION, see DisplayRotation.h). Throws
    /// SetupError, whose line names the device, when it cannot be opened, has
    /// no connected display, no usable mode or pixel format, or refuses the
    /// buffers or the mode, and when OKU_ROTATION is invalid; nothing is left
    /// open then. Once the mode is set, the console is in graphics mode and
    /// the display woken.
    DrmOutput();

    Size getSize() const override;
    int getRotation() const override;
    /// A frame is flipped to at the vertical blank after it is complete.
    int getAimDelayMs() const override { return m_aimDelayMs; }
    void showFrame(const Pixmap& backBuffer, const std::vector<Rect>& areas,
                   bool immediate) override;

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

    /// The console kept off the screen while the device is ours; it gets
    /// the screen back once the device is closed.
    std::unique_ptr<VirtualTerminal> m_terminal;
    std::string m_path;
    /// Outlives the buffers, which are released through it.
    Descriptor m_fd;
    uint32_t m_connectorId = 0;
    uint32_t m_crtcId = 0;
    drmModeModeInfo m_mode;
    std::unique_ptr<DrmDumbBuffer> m_buffers[2];
    DrmFlipQueue m_flips;
    bool m_pageFlips = true;
    std::unique_ptr<FrameWriter> m_writer;
    int m_aimDelayMs = c_humanReactionMs;
};

} // namespace OKU

#endif
