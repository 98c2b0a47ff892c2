#ifndef LIFEBOAT_SIM_EMULATEDKEYBOARD_H
#define LIFEBOAT_SIM_EMULATEDKEYBOARD_H

#include <string>

namespace sim {

// A USB keyboard as the framebuffer emulation presents one: a FIFO in the
// program's input directory, with a ".caps" file beside it that lists a
// keyboard's keys (see tools/fbemu/EvdevCapabilities.h). The simulator holds
// the FIFO open for as long as the keyboard is plugged in, so keys wait in it
// until the program reads them, and the program sees a hang-up when the
// keyboard is pulled out.
class EmulatedKeyboard {
public:
    // Plugs it in as the device "event0" of the directory. Throws
    // std::runtime_error when the FIFO cannot be made.
    explicit EmulatedKeyboard(const std::string& directory);
    EmulatedKeyboard(const EmulatedKeyboard&) = delete;
    EmulatedKeyboard& operator=(const EmulatedKeyboard&) = delete;
    // Pulls it out: the device is gone from the directory.
    ~EmulatedKeyboard();

    // One key (an evdev key code) going down or up, as the kernel reports it:
    // the key's record and a synchronisation record.
    void send(unsigned short code, bool pressed);
    // Drops what no program has read, as keys typed while nothing listens
    // are lost.
    void discardUnread();

private:
    std::string m_path;
    int m_fd = -1;
};

} // namespace sim

#endif
