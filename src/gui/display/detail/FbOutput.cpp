#include "gui/display/detail/FbOutput.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <linux/fb.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mman.h>

#include "core/Paths.h"
#include "gui/display/detail/DisplayRotation.h"
#include "gui/display/detail/DisplayWake.h"
#include "gui/display/detail/SetupFailure.h"

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

FbOutput::FbOutput()
{
    fb_fix_screeninfo fixInfo;
    fb_var_screeninfo varInfo;
    std::memset(&fixInfo, 0, sizeof fixInfo);
    std::memset(&varInfo, 0, sizeof varInfo);
    const std::string path = getEnv("OKU_FBDEV", "/dev/fb0");

    m_fd = Descriptor(::open(path.c_str(), O_RDWR));
    if (!m_fd.isOpen())
        throw deviceSetupError("Cannot open", path);
    if (ioctl(m_fd.get(), FBIOGET_FSCREENINFO, &fixInfo) != 0)
        throw deviceSetupError("FBIOGET_FSCREENINFO failed on", path);
    if (ioctl(m_fd.get(), FBIOGET_VSCREENINFO, &varInfo) != 0)
        throw deviceSetupError("FBIOGET_VSCREENINFO failed on", path);

    const int rotation = displayRotationFromEnv();
    FramePixelFormat format = FramePixelFormat::RGB32;
    if (!pixelFormatOf(varInfo, format))
        throw SetupError("Unsupported framebuffer \"" + path + "\".  " +
                         formatDescription(varInfo));

    // The writers fill yres rows of line_length bytes (of a pixel row when
    // the device reports no padding); the mapping must hold all of them.
    const size_t row = static_cast<size_t>(varInfo.xres) * bytesPerPixel(format);
    if (fixInfo.line_length != 0 && fixInfo.line_length < row)
        throw SetupError("Framebuffer lines too short on \"" + path + "\".  " +
                         std::to_string(fixInfo.line_length) + " bytes for " +
                         std::to_string(row) + " bytes of pixels");
    const size_t frame = std::max<size_t>(fixInfo.line_length, row) * varInfo.yres;
    if (fixInfo.smem_len < frame)
        throw SetupError("Framebuffer memory too small on \"" + path + "\".  " +
                         std::to_string(fixInfo.smem_len) + " bytes for a frame of " +
                         std::to_string(frame));

    const bool flipping = pageFlipRequested() &&
                          FbPageFlipper::prepareDevice(m_fd.get(), path, fixInfo, varInfo, frame);

    void* memory =
        mmap(nullptr, fixInfo.smem_len, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd.get(), 0);
    if (memory == MAP_FAILED)
        throw deviceSetupError("Cannot mmap", path);
    m_frameMemory.address = memory;
    m_frameMemory.length = fixInfo.smem_len;
    // The tree is laid out as the person in front of the panel sees it.
    m_writer.reset(
        new FrameWriter(format, fixInfo.line_length, varInfo.xres, varInfo.yres, rotation));
    if (flipping)
        m_flipper.reset(new FbPageFlipper(m_fd.get(), path, varInfo, *m_writer,
                                          m_frameMemory.address, frame));
    m_terminal.reset(new VirtualTerminal());
    wakeFramebufferDisplay(m_fd.get());
}

FbOutput::Mapping::~Mapping()
{
    if (address != nullptr)
        munmap(address, length);
}

Size FbOutput::getSize() const
{
    return Size(m_writer->getLogicalWidth(), m_writer->getLogicalHeight());
}

int FbOutput::getRotation() const
{
    return m_writer->getRotation();
}

void FbOutput::showFrame(const Pixmap& backBuffer, const std::vector<Rect>& areas, bool)
{
    for (const Rect& r : areas) {
        if (m_flipper)
            m_flipper->write(backBuffer, r);
        else
            m_writer->write(backBuffer, r, m_frameMemory.address);
    }
    if (m_flipper)
        m_flipper->show(backBuffer);
}

} // namespace OKU
