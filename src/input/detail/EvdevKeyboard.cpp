#include "input/detail/EvdevKeyboard.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "core/Trace.h"

namespace OKU {

namespace {

const int c_recordsPerRead = 64;

bool hasBit(const unsigned char* bits, unsigned bit)
{
    return (bits[bit / 8] >> (bit % 8)) & 1u;
}

// Whether the device reports the keys of a keyboard; one that cannot tell
// is no evdev device at all.
bool isKeyboard(int fd)
{
    unsigned char types[EV_MAX / 8 + 1] = {};
    unsigned char keys[KEY_MAX / 8 + 1] = {};
    if (ioctl(fd, EVIOCGBIT(0, sizeof types), types) < 0 || !hasBit(types, EV_KEY) ||
        ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys) < 0)
        return false;
    const unsigned required[] = {KEY_A, KEY_Z, KEY_Q, KEY_M, KEY_ENTER};
    for (unsigned key : required)
        if (!hasBit(keys, key))
            return false;
    return true;
}

} // namespace

std::unique_ptr<EvdevKeyboard> EvdevKeyboard::open(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (!isKeyboard(fd)) {
        close(fd);
        errno = 0;
        return nullptr;
    }
    return std::unique_ptr<EvdevKeyboard>(new EvdevKeyboard(path, fd));
}

EvdevKeyboard::~EvdevKeyboard()
{
    close(m_fd);
}

bool EvdevKeyboard::readKeys(const KeyHandler& handler)
{
    input_event records[c_recordsPerRead];
    for (;;) {
        const ssize_t n = read(m_fd, records, sizeof records);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return true;
        if (n <= 0) {
            // ENODEV: unplugged; end of file: an emulated device's writer left.
            traceMessage("OKU::EvdevKeyboard", TRACE_INFO, "Keyboard %s gone: %s", m_path.c_str(),
                         n == 0 ? "end of file" : std::strerror(errno));
            return false;
        }
        // The kernel hands out whole records only.
        for (size_t i = 0; i < static_cast<size_t>(n) / sizeof(input_event); ++i) {
            EvdevKeyDecoder::Key key;
            if (m_decoder.decode(records[i].type, records[i].code, records[i].value, key))
                handler(key.code, key.character);
        }
    }
}

} // namespace OKU
