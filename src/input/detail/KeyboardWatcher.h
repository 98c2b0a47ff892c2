#ifndef OKU_INPUT_DETAIL_KEYBOARDWATCHER_H
#define OKU_INPUT_DETAIL_KEYBOARDWATCHER_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/NonCopyable.h"
#include "input/detail/EvdevKeyboard.h"

namespace OKU {

/// Reads every keyboard among the evdev devices of a directory (its event*
/// nodes): those there when it starts and those plugged in later, which it
/// learns of through inotify, so that a keyboard can be plugged into a device
/// whose touch panel is dead. A keyboard that is pulled out is dropped. No
/// failure ends the program: a directory that cannot be watched means no
/// keyboards.
class KeyboardWatcher : private NonCopyable {
public:
    /// Opens the keyboards present; keys go to handler, on the thread that
    /// calls waitAndRead.
    KeyboardWatcher(const std::string& directory, const EvdevKeyboard::KeyHandler& handler);
    ~KeyboardWatcher();

    /// Waits at most timeoutMs (a negative time: for ever) for keys or for
    /// devices coming and going, and handles whatever arrived.
    void waitAndRead(int timeoutMs);

    size_t getKeyboardCount() const { return m_keyboards.size(); }

private:
    /// A node that could not be opened yet: a new one may take a moment to
    /// get its permissions.
    struct PendingDevice {
        std::string name;
        uint32_t firstTryMs;
    };

    void openPresentDevices();
    /// Opens the device if it is a keyboard not open yet; false when it
    /// cannot be opened now.
    bool tryOpen(const std::string& name);
    void addDevice(const std::string& name);
    void retryPendingDevices();
    void readDirectoryChanges();
    void readKeyboard(size_t index);
    void dropKeyboard(const std::string& name);
    int nextTimeoutMs(int timeoutMs) const;

    std::string m_directory;
    EvdevKeyboard::KeyHandler m_handler;
    int m_inotify = -1;
    std::vector<std::unique_ptr<EvdevKeyboard>> m_keyboards;
    std::vector<PendingDevice> m_pending;
};

} // namespace OKU

#endif
