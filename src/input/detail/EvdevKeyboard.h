#ifndef OKU_INPUT_DETAIL_EVDEVKEYBOARD_H
#define OKU_INPUT_DETAIL_EVDEVKEYBOARD_H

#include <functional>
#include <memory>
#include <string>

#include "core/NonCopyable.h"
#include "input/KeyCode.h"
#include "input/detail/EvdevKeyDecoder.h"

namespace OKU {

/// One keyboard among the evdev devices, open for reading without blocking.
class EvdevKeyboard : private NonCopyable {
public:
    typedef std::function<void(KeyCode key, wchar_t character)> KeyHandler;

    /// The keyboard at path: a device that reports key events and has the
    /// letter keys and Enter, which touch panels, tablets and buttons lack.
    /// Null with errno 0 for a device that is no keyboard, with the reason
    /// in errno when it cannot be opened.
    static std::unique_ptr<EvdevKeyboard> open(const std::string& path);
    ~EvdevKeyboard();

    const std::string& getPath() const { return m_path; }
    int getDescriptor() const { return m_fd; }

    /// Reads every record waiting and hands each key to the handler; false
    /// once the keyboard is gone (unplugged, or failing), after the keys it
    /// sent before.
    bool readKeys(const KeyHandler& handler);

private:
    EvdevKeyboard(const std::string& path, int fd) : m_path(path), m_fd(fd) {}

    std::string m_path;
    int m_fd;
    EvdevKeyDecoder m_decoder;
};

} // namespace OKU

#endif
