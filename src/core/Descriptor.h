#ifndef OKU_CORE_DESCRIPTOR_H
#define OKU_CORE_DESCRIPTOR_H

namespace OKU {

/// Owns one file descriptor and closes it; -1 means none.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept;
    ~Descriptor() { close(); }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void close();
    /// Hands the descriptor over to the caller, who closes it.
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

/// A pipe whose ends are closed on exec; an absent pipe has both ends closed.
struct Pipe {
    Descriptor readEnd;
    Descriptor writeEnd;
};

/// A new pipe; running out of descriptors is a fatal error.
Pipe makePipe();

/// Switches an open descriptor to non-blocking mode; nothing for a closed one.
void setNonBlocking(const Descriptor& fd);

} // namespace OKU

#endif
