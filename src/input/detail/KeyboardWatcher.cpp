#include "input/detail/KeyboardWatcher.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "core/Time.h"
#include "core/Trace.h"

namespace OKU {

namespace {

const char c_category[] = "OKU::KeyboardWatcher";
// How often and how long a node that does not open yet is tried again.
const int c_retryMs = 100;
const uint32_t c_patienceMs = 2000;

bool isEventNode(const char* name)
{
    return std::strncmp(name, "event", 5) == 0;
}

} // namespace

KeyboardWatcher::KeyboardWatcher(const std::string& directory,
                                 const EvdevKeyboard::KeyHandler& handler)
    : m_directory(directory), m_handler(handler)
{
    // Watching before listing, so that no device falls between the two.
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0 || inotify_add_watch(m_inotify, m_directory.c_str(),
                                           IN_CREATE | IN_ATTRIB | IN_MOVED_TO | IN_DELETE) < 0) {
        traceMessage(c_category, TRACE_WARNING, "No keyboards: cannot watch %s: %s",
                     m_directory.c_str(), std::strerror(errno));
        if (m_inotify >= 0)
            close(m_inotify);
        m_inotify = -1;
        return;
    }
    openPresentDevices();
}

KeyboardWatcher::~KeyboardWatcher()
{
    if (m_inotify >= 0)
        close(m_inotify);
}

void KeyboardWatcher::openPresentDevices()
{
    DIR* dir = opendir(m_directory.c_str());
    if (!dir) {
        traceMessage(c_category, TRACE_WARNING, "No keyboards: cannot read %s: %s",
                     m_directory.c_str(), std::strerror(errno));
        return;
    }
    while (const dirent* entry = readdir(dir))
        if (isEventNode(entry->d_name))
            addDevice(entry->d_name);
    closedir(dir);
}

bool KeyboardWatcher::tryOpen(const std::string& name)
{
    const std::string path = m_directory + "/" + name;
    for (const std::unique_ptr<EvdevKeyboard>& keyboard : m_keyboards)
        if (keyboard->getPath() == path)
            return true;
    std::unique_ptr<EvdevKeyboard> keyboard = EvdevKeyboard::open(path);
    if (!keyboard)
        return errno == 0;
    traceMessage(c_category, TRACE_INFO, "Keyboard %s", path.c_str());
    m_keyboards.push_back(std::move(keyboard));
    return true;
}

void KeyboardWatcher::addDevice(const std::string& name)
{
    const auto pending = std::find_if(m_pending.begin(), m_pending.end(),
                                      [&](const PendingDevice& p) { return p.name == name; });
    if (tryOpen(name)) {
        if (pending != m_pending.end())
            m_pending.erase(pending);
    } else if (pending == m_pending.end()) {
        m_pending.push_back(PendingDevice{name, monotonicMilliseconds()});
    }
}

void KeyboardWatcher::retryPendingDevices()
{
    const uint32_t now = monotonicMilliseconds();
    for (size_t i = 0; i < m_pending.size();) {
        const PendingDevice& device = m_pending[i];
        if (tryOpen(device.name)) {
            m_pending.erase(m_pending.begin() + i);
        } else if (now - device.firstTryMs >= c_patienceMs) {
            traceMessage(c_category, TRACE_WARNING, "Cannot open %s/%s: %s", m_directory.c_str(),
                         device.name.c_str(), std::strerror(errno));
            m_pending.erase(m_pending.begin() + i);
        } else {
            ++i;
        }
    }
}

void KeyboardWatcher::readDirectoryChanges()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = read(m_inotify, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (ssize_t offset = 0; offset < n;) {
            const inotify_event* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW)
                openPresentDevices();
            if (event->len == 0 || !isEventNode(event->name))
                continue;
            if (event->mask & IN_DELETE)
                dropKeyboard(event->name);
            else
                addDevice(event->name);
        }
    }
}

void KeyboardWatcher::readKeyboard(size_t index)
{
    if (!m_keyboards[index]->readKeys(m_handler))
        m_keyboards.erase(m_keyboards.begin() + index);
}

void KeyboardWatcher::dropKeyboard(const std::string& name)
{
    const std::string path = m_directory + "/" + name;
    m_keyboards.erase(std::remove_if(m_keyboards.begin(), m_keyboards.end(),
                                     [&](const std::unique_ptr<EvdevKeyboard>& keyboard) {
                                         return keyboard->getPath() == path;
                                     }),
                      m_keyboards.end());
}

int KeyboardWatcher::nextTimeoutMs(int timeoutMs) const
{
    if (m_pending.empty())
        return timeoutMs;
    return timeoutMs < 0 ? c_retryMs : std::min(timeoutMs, c_retryMs);
}

void KeyboardWatcher::waitAndRead(int timeoutMs)
{
    std::vector<pollfd> descriptors;
    for (const std::unique_ptr<EvdevKeyboard>& keyboard : m_keyboards)
        descriptors.push_back(pollfd{keyboard->getDescriptor(), POLLIN, 0});
    if (m_inotify >= 0)
        descriptors.push_back(pollfd{m_inotify, POLLIN, 0});
    if (::poll(descriptors.data(), descriptors.size(), nextTimeoutMs(timeoutMs)) < 0)
        return;
    // Keyboards first, from the last, so that the indexes stay valid and
    // a keyboard unplugged and plugged in again is read to its end before
    // its node is looked at.
    for (size_t i = m_keyboards.size(); i-- > 0;)
        if (descriptors[i].revents)
            readKeyboard(i);
    if (m_inotify >= 0 && descriptors.back().revents)
        readDirectoryChanges();
    retryPendingDevices();
}

} // namespace OKU
