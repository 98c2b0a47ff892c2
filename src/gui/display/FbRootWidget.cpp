#include "gui/display/FbRootWidget.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "core/Paths.h"
#include "core/ScreenRotation.h"
#include "gui/display/DisplayRotation.h"
#include "gui/display/DisplayWake.h"
#include "gui/display/SetupFailure.h"
#include "input/TouchScreenFactory.h"

namespace OKU {

namespace {

bool isField(const fb_bitfield& field, unsigned offset, unsigned length)
{
    return field.offset == offset && field.length == length;
}

// The device's pixel format; false when it is not supported.
bool pixelFormatOf(const fb_var_screeninfo& var, FramePixelFormat& format)
{
    if (var.bits_per_pixel == 32 && isField(var.red, 16, 8) && isField(var.green, 8, 8) &&
        isField(var.blue, 0, 8))
        format = FramePixelFormat::RGB32;
    else if (var.bits_per_pixel == 16 && isField(var.red, 11, 5) &&
             (isField(var.green, 5, 6) || isField(var.green, 5, 5)) && isField(var.blue, 0, 5))
        format = FramePixelFormat::BGR16;
    else if (var.bits_per_pixel == 16 && isField(var.red, 0, 5) && isField(var.green, 5, 5) &&
             isField(var.blue, 10, 5))
        format = FramePixelFormat::RGB15;
    else
        return false;
    return true;
}

std::string formatDescription(const fb_var_screeninfo& var)
{
    return "[" + std::to_string(var.bits_per_pixel) + ":" + std::to_string(var.red.length) + ":" +
           std::to_string(var.red.offset) + ":" + std::to_string(var.green.length) + ":" +
           std::to_string(var.green.offset) + ":" + std::to_string(var.blue.length) + ":" +
           std::to_string(var.blue.offset) + "]";
}

bool pageFlipRequested()
{
    const std::string setting = getEnv("OKU_FBFLIP", "");
    return !setting.empty() && setting != "0";
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

    // The tree is laid out as the person in front of the panel sees it.
    const int rotation = displayRotationFromEnv();
    const Size logical = rotatedSize(Size(m_varInfo.xres, m_varInfo.yres), rotation);
    resize(logical.width, logical.height);

    FramePixelFormat format = FramePixelFormat::RGB32;
    if (!pixelFormatOf(m_varInfo, format))
        failSetup("Unsupported framebuffer \"" + path + "\".  " + formatDescription(m_varInfo));

    // The writers fill yres rows of line_length bytes (of a pixel row when
    // the device reports no padding); the mapping must hold all of them.
    const size_t row = static_cast<size_t>(m_varInfo.xres) * bytesPerPixel(format);
    if (m_fixInfo.line_length != 0 && m_fixInfo.line_length < row)
        failSetup("Framebuffer lines too short on \"" + path + "\".  " +
                  std::to_string(m_fixInfo.line_length) + " bytes for " + std::to_string(row) +
                  " bytes of pixels");
    const size_t frame = std::max<size_t>(m_fixInfo.line_length, row) * m_varInfo.yres;
    if (m_fixInfo.smem_len < frame)
        failSetup("Framebuffer memory too small on \"" + path + "\".  " +
                  std::to_string(m_fixInfo.smem_len) + " bytes for a frame of " +
                  std::to_string(frame));

    const bool flipping = pageFlipRequested() &&
                          FbPageFlipper::prepareDevice(m_fd, path, m_fixInfo, m_varInfo, frame);

    void* memory =
        mmap(nullptr, m_fixInfo.smem_len, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (memory == MAP_FAILED)
        failSetup("Cannot mmap", path);
    m_frameMemory = memory;
    m_writer.reset(new FrameWriter(format, m_fixInfo.line_length, m_varInfo.xres, m_varInfo.yres,
                                   rotation));
    if (flipping)
        m_flipper.reset(
            new FbPageFlipper(m_fd, path, m_varInfo, *m_writer, m_frameMemory, frame));
    m_terminal.reset(new VirtualTerminal());
    // Frames reach the panel as they are written, or panned to at once.
    setAimDelay(c_humanReactionMs);
    wakeFramebufferDisplay(m_fd);

    setTouchScreen(openTouchScreen(getWidth(), getHeight(), rotation).release());
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
    if (m_flipper)
        m_flipper->write(m_pixmap, r);
    else
        m_writer->write(m_pixmap, r, m_frameMemory);
}

void FbRootWidget::notifyFrameDone(bool)
{
    if (m_flipper)
        m_flipper->show(m_pixmap);
}

} // namespace OKU
