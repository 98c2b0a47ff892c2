#include "FramebufferView.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DisplayState.h"

namespace sim {

namespace {

const size_t c_pixelCount = static_cast<size_t>(ScreenMode::c_width) * ScreenMode::c_height;
const size_t c_byteCount = c_pixelCount * sizeof(uint32_t);

// The file at path, created or extended to size bytes, mapped shared; fd
// keeps it open when given.
uint32_t* mapFile(const std::string& path, size_t size, int* fd = nullptr)
{
    const int opened = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    struct stat status;
    const bool usable = opened >= 0 && fstat(opened, &status) == 0 &&
                        (status.st_size >= static_cast<off_t>(size) || ftruncate(opened, size) == 0);
    void* mapping = MAP_FAILED;
    if (usable)
        mapping = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, opened, 0);
    const int error = errno;
    if (opened >= 0 && (mapping == MAP_FAILED || !fd))
        close(opened);
    if (mapping == MAP_FAILED)
        throw std::runtime_error("Cannot map the framebuffer file \"" + path + "\".  " +
                                 std::strerror(error));
    if (fd)
        *fd = opened;
    return static_cast<uint32_t*>(mapping);
}

} // namespace

FramebufferView::FramebufferView(const std::string& path, int pages)
    : m_path(path), m_pages(static_cast<size_t>(pages))
{
    m_memory = mapFile(path, memorySize());
    try {
        m_frames = mapFile(fbemu::wholeFramesPath(path), memorySize(), &m_framesFd);
    } catch (...) {
        munmap(m_memory, memorySize());
        throw;
    }
}

FramebufferView::~FramebufferView()
{
    munmap(m_frames, memorySize());
    munmap(m_memory, memorySize());
    close(m_framesFd);
}

size_t FramebufferView::memorySize() const
{
    return m_pages * c_byteCount;
}

void FramebufferView::clear()
{
    std::fill(m_memory, m_memory + m_pages * c_pixelCount, 0);
    std::fill(m_frames, m_frames + m_pages * c_pixelCount, 0);
    unlink(fbemu::displayStatePath(m_path).c_str());
}

template <class Look>
void FramebufferView::lookAtVisiblePage(Look look) const
{
    flock(m_framesFd, LOCK_SH);
    fbemu::DisplayState display;
    fbemu::readDisplayState(m_path, display);
    const size_t firstRow = std::min<size_t>(display.yoffset, (m_pages - 1) * ScreenMode::c_height);
    look(display.blank ? nullptr : m_frames + firstRow * ScreenMode::c_width);
    flock(m_framesFd, LOCK_UN);
}

uint32_t FramebufferView::pixel(int x, int y) const
{
    uint32_t word = 0;
    lookAtVisiblePage([&](const uint32_t* page) {
        if (page)
            word = page[static_cast<size_t>(y) * ScreenMode::c_width + x] & 0xFFFFFF;
    });
    return word;
}

std::vector<uint32_t> FramebufferView::snapshot() const
{
    std::vector<uint32_t> words(c_pixelCount, 0);
    lookAtVisiblePage([&](const uint32_t* page) {
        if (page)
            std::transform(page, page + c_pixelCount, words.begin(),
                           [](uint32_t word) { return word & 0xFFFFFF; });
    });
    return words;
}

} // namespace sim
