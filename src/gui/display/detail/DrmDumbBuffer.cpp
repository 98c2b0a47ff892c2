#include "gui/display/detail/DrmDumbBuffer.h"

#include <cerrno>
#include <sys/mman.h>
#include <xf86drmMode.h>

namespace OKU {

DrmDumbBuffer::DrmDumbBuffer(int fd, uint32_t width, uint32_t height, const DrmFormat& format)
    : m_fd(fd)
{
    uint32_t handle = 0;
    uint64_t size = 0;
    if (!succeeded(drmModeCreateDumbBuffer(fd, width, height, format.bitsPerPixel, 0, &handle,
                                           &m_pitch, &size)))
        return;
    m_handle = handle;
    m_size = static_cast<size_t>(size);

    const uint32_t handles[4] = {handle, 0, 0, 0};
    const uint32_t pitches[4] = {m_pitch, 0, 0, 0};
    const uint32_t offsets[4] = {0, 0, 0, 0};
    if (!succeeded(drmModeAddFB2(fd, width, height, format.fourcc, handles, pitches, offsets,
                                 &m_frameBufferId, 0)))
        return;

    // The offset is a token of the device's, often beyond 4 GiB, which a
    // 32-bit off_t could not carry.
    static_assert(sizeof(off_t) == 8, "mapping dumb buffers needs a 64-bit off_t");
    uint64_t offset = 0;
    if (!succeeded(drmModeMapDumbBuffer(fd, handle, &offset)))
        return;
    void* memory =
        mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, static_cast<off_t>(offset));
    if (memory == MAP_FAILED) {
        m_error = errno;
        return;
    }
    m_memory = memory;
}

DrmDumbBuffer::~DrmDumbBuffer()
{
    if (m_memory)
        munmap(m_memory, m_size);
    if (m_frameBufferId != 0)
        drmModeRmFB(m_fd, m_frameBufferId);
    if (m_handle != 0)
        drmModeDestroyDumbBuffer(m_fd, m_handle);
}

bool DrmDumbBuffer::succeeded(int result)
{
    if (result == 0)
        return true;
    m_error = -result;
    return false;
}

} // namespace OKU
