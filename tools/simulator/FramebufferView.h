#ifndef LIFEBOAT_SIM_FRAMEBUFFERVIEW_H
#define LIFEBOAT_SIM_FRAMEBUFFERVIEW_H

#include <cstdint>
#include <string>
#include <vector>

#include "Screen.h"

namespace sim {

// The framebuffer file the program draws into, seen through a shared
// mapping, so every look sees what the program last wrote: the page the
// emulation's panning shows, where the frame memory holds more than one.
class FramebufferView : public Screen {
public:
    // Creates the file, or extends it to the frame memory's size, pages
    // frames of the screen; throws std::runtime_error when it cannot be
    // mapped.
    FramebufferView(const std::string& path, int pages);
    FramebufferView(const FramebufferView&) = delete;
    FramebufferView& operator=(const FramebufferView&) = delete;
    ~FramebufferView() override;

    // Black and showing the first page, as the display comes up after power-on.
    void clear();
    // Bytes of frame memory.
    size_t memorySize() const;
    uint32_t pixel(int x, int y) const override;
    std::vector<uint32_t> snapshot() const override;

private:
    // The first word of the page shown.
    const uint32_t* visiblePage() const;

    std::string m_path;
    size_t m_pages;
    uint32_t* m_words = nullptr;
};

} // namespace sim

#endif
