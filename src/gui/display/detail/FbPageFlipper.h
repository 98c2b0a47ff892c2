#ifndef OKU_GUI_DISPLAY_DETAIL_FBPAGEFLIPPER_H
#define OKU_GUI_DISPLAY_DETAIL_FBPAGEFLIPPER_H

#include <cstddef>
#include <cstdint>
#include <linux/fb.h>
#include <string>
#include <vector>

#include "core/Geometry.h"

namespace OKU {

class FrameWriter;
class Pixmap;

/// Tear-free output on a framebuffer whose virtual height holds two frames:
/// redrawn areas are converted into the hidden page, and a complete frame is
/// shown by panning to it (FBIOPAN_DISPLAY) and waiting for the vertical blank
/// (FBIO_WAITFORVSYNC, skipped where the driver does not offer it). Each page
/// remembers the areas it lacks of the frames it has missed, so that it is
/// brought up to date from the back buffer before it is shown again.
///
/// A pan the device refuses later on is reported once; the flipper then
/// writes into the visible page, as a single-buffered screen does.
class FbPageFlipper {
public:
    /// Makes room for two pages of frameBytes each: asks for yres_virtual =
    /// 2 x yres with FBIOPUT_VSCREENINFO when the device has less, reads the
    /// variable screen information back into var, and pans to the first page.
    /// False, after one warning in the trace, when the device cannot pan or
    /// does not give the room.
    static bool prepareDevice(int fd, const std::string& path, const fb_fix_screeninfo& fix,
                              fb_var_screeninfo& var, size_t frameBytes);

    /// frameMemory is the mapping of a device set up by prepareDevice, whose
    /// first page is shown.
    FbPageFlipper(int fd, const std::string& path, const fb_var_screeninfo& var,
                  const FrameWriter& writer, void* frameMemory, size_t frameBytes);
    FbPageFlipper(const FbPageFlipper&) = delete;
    FbPageFlipper& operator=(const FbPageFlipper&) = delete;

    /// Converts r of the back buffer into the page that is being drawn.
    void write(const Pixmap& backBuffer, const Rect& r);
    /// The frame is complete: brings the hidden page up to date and shows it.
    void show(const Pixmap& backBuffer);

private:
    void* pageAddress(int page) const;
    /// Notes that a page lacks r of the back buffer.
    void addLacking(int page, const Rect& r);
    bool pan(int page);
    void waitForVerticalBlank();
    /// After a refused pan: the visible page gets the whole frame and all
    /// further writes.
    void stopFlipping(const Pixmap& backBuffer);

    int m_fd;
    std::string m_path;
    fb_var_screeninfo m_var;
    const FrameWriter& m_writer;
    void* m_frameMemory;
    size_t m_frameBytes;
    int m_visiblePage = 0;
    bool m_flipping = true;
    bool m_vsyncRefused = false;
    /// Per page: areas of the back buffer it does not hold yet.
    std::vector<Rect> m_lacking[2];
    /// Areas converted into the hidden page during the current frame.
    std::vector<Rect> m_drawn;
};

} // namespace OKU

#endif
