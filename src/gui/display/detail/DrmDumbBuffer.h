#ifndef OKU_GUI_DISPLAY_DETAIL_DRMDUMBBUFFER_H
#define OKU_GUI_DISPLAY_DETAIL_DRMDUMBBUFFER_H

#include <cstddef>
#include <cstdint>

#include "core/NonCopyable.h"
#include "gui/display/detail/DrmModeChoice.h"

namespace OKU {

/// One buffer a KMS display can scan out: a dumb buffer of the device (plain
/// memory the processor writes), registered as a frame buffer and mapped.
/// Everything made is released again when the object ends, also after a
/// failure half way.
class DrmDumbBuffer : private NonCopyable {
public:
    /// The device fd must outlive the buffer. On failure isValid() is false
    /// and getError() holds the errno value of the step that failed.
    DrmDumbBuffer(int fd, uint32_t width, uint32_t height, const DrmFormat& format);
    ~DrmDumbBuffer();

    bool isValid() const { return m_memory != nullptr; }
    int getError() const { return m_error; }
    uint32_t getFrameBufferId() const { return m_frameBufferId; }
    /// Bytes from one row to the next; the device may pad rows.
    uint32_t getPitch() const { return m_pitch; }
    void* getMemory() const { return m_memory; }

private:
    /// Records a libdrm result (0, or a negative errno value); true on success.
    bool succeeded(int result);

    int m_fd;
    int m_error = 0;
    uint32_t m_handle = 0;
    uint32_t m_pitch = 0;
    size_t m_size = 0;
    uint32_t m_frameBufferId = 0;
    void* m_memory = nullptr;
};

} // namespace OKU

#endif
