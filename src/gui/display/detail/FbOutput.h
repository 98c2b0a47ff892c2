#ifndef OKU_GUI_DISPLAY_DETAIL_FBOUTPUT_H
#define OKU_GUI_DISPLAY_DETAIL_FBOUTPUT_H

#include <cstddef>
#include <memory>

#include "core/Descriptor.h"
#include "graphics/detail/FrameWriter.h"
#include "gui/display/DisplayOutput.h"
#include "gui/display/detail/FbPageFlipper.h"
#include "gui/display/detail/VirtualTerminal.h"

namespace OKU {

/// A Linux framebuffer: every redrawn area of the back buffer is converted
/// straight into the mapped frame memory, turned as the panel is mounted
/// (OKU_ROTATION). With OKU_FBFLIP set (to anything but "0") on a device that
/// can pan over two frames, complete frames are shown by page flipping
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
class FbOutput : public DisplayOutput {
public:
    /// Opens and maps the device ($OKU_FBDEV, default "/dev/fb0"), puts the
    /// console into graphics mode and wakes the display. Throws SetupError,
    /// whose line names the device, when the device cannot be opened,
    /// queried or mapped, has another pixel format, or lines or frame memory
    /// too small for its resolution, and when OKU_ROTATION is invalid;
    /// nothing is left open then.
    FbOutput();

    Size getSize() const override;
    int getRotation() const override;
    /// Frames reach the panel as they are written, or panned to at once.
    int getAimDelayMs() const override { return c_humanReactionMs; }
    void showFrame(const Pixmap& backBuffer, const std::vector<Rect>& areas,
                   bool immediate) override;

private:
    /// The device's frame memory, unmapped when the output ends.
    struct Mapping {
        Mapping() = default;
        Mapping(const Mapping&) = delete;
        Mapping& operator=(const Mapping&) = delete;
        ~Mapping();

        void* address = nullptr;
        size_t length = 0;
    };

    /// The console kept off the screen while the device is ours; it gets
    /// the screen back once the device is closed.
    std::unique_ptr<VirtualTerminal> m_terminal;
    Descriptor m_fd;
    Mapping m_frameMemory;
    std::unique_ptr<FrameWriter> m_writer;
    /// Null when frames go straight into the visible memory.
    std::unique_ptr<FbPageFlipper> m_flipper;
};

} // namespace OKU

#endif
