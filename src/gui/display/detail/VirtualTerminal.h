#ifndef OKU_GUI_DISPLAY_DETAIL_VIRTUALTERMINAL_H
#define OKU_GUI_DISPLAY_DETAIL_VIRTUALTERMINAL_H

#include "core/NonCopyable.h"

namespace OKU {

/// The kernel's text console shares the framebuffer: left in text mode, it
/// draws its blinking cursor and every kernel message over the page. While an
/// object of this class lives, the virtual terminal the program runs on (its
/// controlling terminal, else the foreground one, /dev/tty0) is in graphics
/// mode. Its previous mode comes back when the object ends and on every way
/// the process can end (see ProcessExit.h). Without a virtual terminal
/// nothing happens. One object at a time.
class VirtualTerminal : private NonCopyable {
public:
    VirtualTerminal();
    ~VirtualTerminal();

    /// Whether a virtual terminal was found and switched to graphics mode.
    bool isGraphics() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace OKU

#endif
