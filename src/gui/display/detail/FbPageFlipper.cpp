#include "gui/display/detail/FbPageFlipper.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

#include "core/Trace.h"
#include "graphics/detail/FrameWriter.h"
#include "gui/tree/detail/DamageAreas.h"

namespace OKU {

namespace {

const char* const c_traceCategory = "OKU::FbRootWidget";

bool refuse(const std::string& path, const std::string& reason)
{
    traceMessage(c_traceCategory, TRACE_WARNING,
                 "No page flipping on \"%s\" (%s); frames are written into the visible page",
                 path.c_str(), reason.c_str());
    return false;
}

std::string failedCall(const char* call)
{
    return std::string(call) + ": " + std::strerror(errno);
}

} // namespace

bool FbPageFlipper::prepareDevice(int fd, const std::string& path, const fb_fix_screeninfo& fix,
                                  fb_var_screeninfo& var, size_t frameBytes)
{
    if (var.yres_virtual < 2 * var.yres) {
        fb_var_screeninfo wanted = var;
        wanted.yres_virtual = 2 * var.yres;
        wanted.xoffset = 0;
        wanted.yoffset = 0;
        wanted.activate = FB_ACTIVATE_NOW;
        if (ioctl(fd, FBIOPUT_VSCREENINFO, &wanted) != 0)
            return refuse(path, failedCall("FBIOPUT_VSCREENINFO"));
        if (ioctl(fd, FBIOGET_VSCREENINFO, &var) != 0)
            return refuse(path, failedCall("FBIOGET_VSCREENINFO"));
    }
    if (var.yres_virtual < 2 * var.yres || fix.smem_len / 2 < frameBytes)
        return refuse(path, "room for " + std::to_string(var.yres_virtual) + " rows and " +
                                std::to_string(fix.smem_len) + " bytes, a frame has " +
                                std::to_string(var.yres) + " rows of " +
                                std::to_string(frameBytes / var.yres) + " bytes");
    // A driver without panning refuses any pan, even to the first page; one
    // that pans only within a page says so by a panning step of 0.
    if (fix.ypanstep == 0)
        return refuse(path, "the device has no vertical panning");
    var.xoffset = 0;
    var.yoffset = 0;
    if (ioctl(fd, FBIOPAN_DISPLAY, &var) != 0)
        return refuse(path, failedCall("FBIOPAN_DISPLAY"));
    return true;
}

FbPageFlipper::FbPageFlipper(int fd, const std::string& path, const fb_var_screeninfo& var,
                             const FrameWriter& writer, void* frameMemory, size_t frameBytes)
    : m_fd(fd), m_path(path), m_var(var), m_writer(writer), m_frameMemory(frameMemory),
      m_frameBytes(frameBytes)
{
    // Neither page holds anything of the tree yet.
    const Rect screen(0, 0, writer.getLogicalWidth(), writer.getLogicalHeight());
    addLacking(0, screen);
    addLacking(1, screen);
}

void FbPageFlipper::write(const Pixmap& backBuffer, const Rect& r)
{
    if (!m_flipping) {
        m_writer.write(backBuffer, r, pageAddress(m_visiblePage));
        return;
    }
    m_writer.write(backBuffer, r, pageAddress(1 - m_visiblePage));
    m_drawn.push_back(r);
}

void FbPageFlipper::show(const Pixmap& backBuffer)
{
    if (!m_flipping)
        return;
    const int hidden = 1 - m_visiblePage;
    for (const Rect& lacking : m_lacking[hidden]) {
        const bool redrawn = std::any_of(m_drawn.begin(), m_drawn.end(),
                                         [&](const Rect& r) { return r.contains(lacking); });
        if (!redrawn)
            m_writer.write(backBuffer, lacking, pageAddress(hidden));
    }
    m_lacking[hidden].clear();
    if (!pan(hidden)) {
        stopFlipping(backBuffer);
        return;
    }
    // The page just taken off the screen misses this frame's changes.
    for (const Rect& r : m_drawn)
        addLacking(m_visiblePage, r);
    m_drawn.clear();
    m_visiblePage = hidden;
    waitForVerticalBlank();
}

void* FbPageFlipper::pageAddress(int page) const
{
    return static_cast<unsigned char*>(m_frameMemory) + static_cast<size_t>(page) * m_frameBytes;
}

void FbPageFlipper::addLacking(int page, const Rect& r)
{
    addDamageArea(m_lacking[page], r);
}

bool FbPageFlipper::pan(int page)
{
    m_var.xoffset = 0;
    m_var.yoffset = static_cast<uint32_t>(page) * m_var.yres;
    return ioctl(m_fd, FBIOPAN_DISPLAY, &m_var) == 0;
}

void FbPageFlipper::waitForVerticalBlank()
{
    if (m_vsyncRefused)
        return;
    uint32_t display = 0;
    if (ioctl(m_fd, FBIO_WAITFORVSYNC, &display) == 0)
        return;
    m_vsyncRefused = true;
    traceMessage(c_traceCategory, TRACE_WARNING,
                 "No vertical blank to wait for on \"%s\" (%s); pages are shown at once",
                 m_path.c_str(), failedCall("FBIO_WAITFORVSYNC").c_str());
}

void FbPageFlipper::stopFlipping(const Pixmap& backBuffer)
{
    refuse(m_path, failedCall("FBIOPAN_DISPLAY"));
    m_flipping = false;
    m_drawn.clear();
    m_writer.write(backBuffer,
                   Rect(0, 0, m_writer.getLogicalWidth(), m_writer.getLogicalHeight()),
                   pageAddress(m_visiblePage));
}

} // namespace OKU
