#include "FramebufferView.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DisplayState.h"

namespace sim {

namespace {

const size_t c_pixelCount = static_cast<size_t>(ScreenMode::c_width) * ScreenMode::c_height;
const size_t c_byteCount = c_pixelCount * sizeof(uint32_t);

} // namespace

FramebufferView::FramebufferView(const std::string& path, int pages)
    : m_path(path), m_pages(static_cast<size_t>(pages))
{
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    struct stat status;
    bool usable = fd >= 0 && fstat(fd, &status) == 0 &&
                  (status.st_size >= static_cast<off_t>(memorySize()) ||
                   ftruncate(fd, memorySize()) == 0);
    void* mapping = MAP_FAILED;
    if (usable)
        mapping = mmap(nullptr, memorySize(), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    const int error = errno;
    if (fd >= 0)
        close(fd);
    if (mapping == MAP_FAILED)
        throw std::runtime_error("Cannot map the framebuffer file \"" + path + "\".  " +
                                 std::strerror(error));
    m_words = static_cast<uint32_t*>(mapping);
}

FramebufferView::~FramebufferView()
{
    munmap(m_words, memorySize());
}

size_t FramebufferView::memorySize() const
{
    return m_pages * c_byteCount;
}

void FramebufferView::clear()
{
    std::fill(m_words, m_words + m_pages * c_pixelCount, 0);
    unlink(fbemu::displayStatePath(m_path).c_str());
}

const uint32_t* FramebufferView::visiblePage() const
{
    fbemu::DisplayState display;
    fbemu::readDisplayState(m_path, display);
    const size_t firstRow = std::min<size_t>(display.yoffset, (m_pages - 1) * ScreenMode::c_height);
    return m_words + firstRow * ScreenMode::c_width;
}

uint32_t FramebufferView::pixel(int x, int y) const
{
    return visiblePage()[static_cast<size_t>(y) * ScreenMode::c_width + x] & 0xFFFFFF;
}

std::vector<uint32_t> FramebufferView::snapshot() const
{
    const uint32_t* page = visiblePage();
    std::vector<uint32_t> words(page, page + c_pixelCount);
    for (uint32_t& word : words)
        word &= 0xFFFFFF;
    return words;
}

} // namespace sim
