#ifndef LIFEBOAT_SIM_FRAMEBUFFERVIEW_H
#define LIFEBOAT_SIM_FRAMEBUFFERVIEW_H

#include <cstdint>
#include <string>
#include <vector>

#include "Screen.h"

namespace sim {

// The framebuffer file the program draws into, seen through a shared
// mapping, so every look sees what the program last wrote.
class FramebufferView : public Screen {
public:
    // Creates the file, or extends it to the frame memory's size; throws
    // std::runtime_error when it cannot be mapped.
    explicit FramebufferView(const std::string& path);
    FramebufferView(const FramebufferView&) = delete;
    FramebufferView& operator=(const FramebufferView&) = delete;
    ~FramebufferView() override;

    // Black, as the display comes up after power-on.
    void clear();
    uint32_t pixel(int x, int y) const override;
    std::vector<uint32_t> snapshot() const override;

private:
    uint32_t* m_words = nullptr;
};

} // namespace sim

#endif
