#include "gui/FbRootWidget.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "core/Paths.h"
#include "core/ProcessExit.h"
#include "input/TouchScreenFactory.h"

namespace OKU {

namespace {

typedef void (Pixmap::*Writer)(void*, const Rect&) const;

// Set-up failures are reported in one line and end the process at once.
[[noreturn]] void failSetup(const std::string& line)
{
    std::cerr << line << std::endl;
    exitProcess(1);
}

[[noreturn]] void failSetup(const std::string& what, const std::string& path)
{
    const int error = errno;
    failSetup(what + " \"" + path + "\".  " + std::strerror(error));
}

bool isField(const fb_bitfield& field, unsigned offset, unsigned length)
{
    return field.offset == offset && field.length == length;
}

// The pixel format code, or 0 when the format is not supported.
int pixelFormatCode(const fb_var_screeninfo& var)
{
    if (var.bits_per_pixel == 32 && isField(var.red, 16, 8) && isField(var.green, 8, 8) &&
        isField(var.blue, 0, 8))
        return 32;
    if (var.bits_per_pixel != 16)
        return 0;
    if (isField(var.red, 11, 5) && (isField(var.green, 5, 6) || isField(var.green, 5, 5)) &&
        isField(var.blue, 0, 5))
        return 16;
    if (isField(var.red, 0, 5) && isField(var.green, 5, 5) && isField(var.blue, 10, 5))
        return 15;
    return 0;
}

size_t bytesPerPixel(int pixelFormat)
{
    return pixelFormat == 32 ? 4 : 2;
}

std::string formatDescription(const fb_var_screeninfo& var)
{
    return "[" + std::to_string(var.bits_per_pixel) + ":" + std::to_string(var.red.length) + ":" +
           std::to_string(var.red.offset) + ":" + std::to_string(var.green.length) + ":" +
           std::to_string(var.green.offset) + ":" + std::to_string(var.blue.length) + ":" +
           std::to_string(var.blue.offset) + "]";
}

} // namespace

FbRootWidget::FbRootWidget(int, int) : RootWidget(0, 0)
{
    std::memset(&m_fixInfo, 0, sizeof m_fixInfo);
    std::memset(&m_varInfo, 0, sizeof m_varInfo);
    const std::string path = getEnv("OKU_FBDEV", "/dev/fb0");

    m_fd = ::open(path.c_str(), O_RDWR);
    if (m_fd < 0)
        failSetup("Cannot open", path);
    if (ioctl(m_fd, FBIOGET_FSCREENINFO, &m_fixInfo) != 0)
        failSetup("FBIOGET_FSCREENINFO failed on", path);
    if (ioctl(m_fd, FBIOGET_VSCREENINFO, &m_varInfo) != 0)
        failSetup("FBIOGET_VSCREENINFO failed on", path);

    resize(m_varInfo.xres, m_varInfo.yres);

    m_pixelFormat = pixelFormatCode(m_varInfo);
    if (m_pixelFormat == 0)
        failSetup("Unsupported framebuffer \"" + path + "\".  " + formatDescription(m_varInfo));

    // The writers fill yres rows of line_length bytes (of a pixel row when
    // the device reports no padding); the mapping must hold all of them.
    const size_t row = static_cast<size_t>(m_varInfo.xres) * bytesPerPixel(m_pixelFormat);
    if (m_fixInfo.line_length != 0 && m_fixInfo.line_length < row)
        failSetup("Framebuffer lines too short on \"" + path + "\".  " +
                  std::to_string(m_fixInfo.line_length) + " bytes for " + std::to_string(row) +
                  " bytes of pixels");
    const size_t frame = std::max<size_t>(m_fixInfo.line_length, row) * m_varInfo.yres;
    if (m_fixInfo.smem_len < frame)
        failSetup("Framebuffer memory too small on \"" + path + "\".  " +
                  std::to_string(m_fixInfo.smem_len) + " bytes for a frame of " +
                  std::to_string(frame));

    void* memory =
        mmap(nullptr, m_fixInfo.smem_len, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (memory == MAP_FAILED)
        failSetup("Cannot mmap", path);
    m_frameMemory = memory;
    m_terminal.reset(new VirtualTerminal());

    setTouchScreen(openTouchScreen(getWidth(), getHeight()).release());
}

FbRootWidget::~FbRootWidget()
{
    delete getTouchScreen();
    setTouchScreen(nullptr);
    munmap(m_frameMemory, m_fixInfo.smem_len);
    ::close(m_fd);
}

void FbRootWidget::notifyRedraw(const Rect& r, bool)
{
    Writer write = &Pixmap::writeBGR16;
    if (m_pixelFormat == 32)
        write = &Pixmap::writeRGB32;
    else if (m_pixelFormat == 15)
        write = &Pixmap::writeRGB15;

    // The writers lay rows out width pixels apart, as in the back buffer; so
    // does a device without padding (or one that reports no line length).
    const size_t packedLine = static_cast<size_t>(m_pixmap.getWidth()) * bytesPerPixel(m_pixelFormat);
    if (m_fixInfo.line_length <= packedLine) {
        (m_pixmap.*write)(m_frameMemory, r);
        return;
    }

    // Padded lines: one row at a time. The writer puts row y at y × packedLine
    // bytes from the address it is given, so that address is moved back by
    // the same amount from the device's row y.
    const Rect area = r.intersection(Rect(0, 0, m_pixmap.getWidth(), m_pixmap.getHeight()));
    const uintptr_t base = reinterpret_cast<uintptr_t>(m_frameMemory);
    for (int y = area.y; y < area.bottom(); ++y) {
        const uintptr_t row = base + static_cast<size_t>(y) * m_fixInfo.line_length;
        (m_pixmap.*write)(reinterpret_cast<void*>(row - static_cast<size_t>(y) * packedLine),
                          Rect(area.x, y, area.width, 1));
    }
}

} // namespace OKU
