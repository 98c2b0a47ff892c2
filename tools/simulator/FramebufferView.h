#ifndef LIFEBOAT_SIM_FRAMEBUFFERVIEW_H
#define LIFEBOAT_SIM_FRAMEBUFFERVIEW_H

#include <cstdint>
#include <string>
#include <vector>

#include "Screen.h"

namespace sim {

// The framebuffer file the program draws into, as the panel shows it: only
// frames the program has finished (the emulation's whole frames, see
// tools/fbemu/DisplayState.h), the page its panning shows where the frame
// memory holds more than one, and black while the program has it blanked.
class FramebufferView : public Screen {
public:
    // Creates the framebuffer file and the whole-frames file beside it, or
    // extends them to the frame memory's size, pages frames of the screen;
    // throws std::runtime_error when they cannot be mapped.
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
    // Runs look on the first word of the page shown (null while blanked),
    // with the emulation kept from publishing a frame meanwhile.
    template <class Look>
    void lookAtVisiblePage(Look look) const;

    std::string m_path;
    size_t m_pages;
    // The program's frame memory, and the frames it finished.
    uint32_t* m_memory = nullptr;
    uint32_t* m_frames = nullptr;
    int m_framesFd = -1;
};

} // namespace sim

#endif
