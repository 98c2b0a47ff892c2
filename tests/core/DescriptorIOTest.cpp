#include "core/DescriptorIO.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <string>
#include <thread>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>
#include <gtest/gtest.h>

using namespace OKU;

namespace {

// A pipe whose ends are closed at the end of the scope unless already closed.
struct Pipe {
    explicit Pipe(int flags = 0) { EXPECT_EQ(0, pipe2(fds, flags)); }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() { for (int fd : fds) close(fd); }

    int fds[2] = {-1, -1};
};

std::atomic<int> g_signalsSeen(0);

// Interrupts the thread that made it with a SIGALRM every millisecond until
// the end of the scope; restart tells whether interrupted calls go on.
class Interrupter {
public:
    explicit Interrupter(bool restart)
    {
        struct sigaction action = {};
        action.sa_handler = [](int) { ++g_signalsSeen; };
        action.sa_flags = restart ? SA_RESTART : 0;
        EXPECT_EQ(0, sigaction(SIGALRM, &action, &m_previous));
        m_thread = std::thread([this, target = pthread_self()] {
            for (; !m_stop; usleep(1000))
                pthread_kill(target, SIGALRM);
        });
    }
    Interrupter(const Interrupter&) = delete;
    Interrupter& operator=(const Interrupter&) = delete;
    ~Interrupter()
    {
        m_stop = true;
        m_thread.join();
        sigaction(SIGALRM, &m_previous, nullptr);
    }

private:
    struct sigaction m_previous;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

TEST(DescriptorIOTest, WholeCountsPassAndErrorsStopAtOnce)
{
    // A slow reader keeps the writer waiting, and each signal cuts its write
    // short, so several calls are needed on both ends.
    Pipe pipe;
    const std::string data(1 << 20, 'q');
    std::string received(data.size(), '\0');
    std::thread reader([&] {
        for (size_t done = 0; done < data.size(); done += 4096) {
            usleep(100);
            EXPECT_TRUE(safeRead(pipe.fds[0], &received[done], 4096));
        }
    });
    {
        const int signalsBefore = g_signalsSeen;
        Interrupter signals(true);
        EXPECT_TRUE(safeWrite(pipe.fds[1], data.data(), data.size()));
        EXPECT_LT(signalsBefore + 5, g_signalsSeen);
    }
    close(pipe.fds[1]);
    pipe.fds[1] = -1;
    reader.join();
    EXPECT_EQ(data, received);
    // An end of file before the count is a failure.
    char buffer[12] = {};
    EXPECT_FALSE(safeRead(pipe.fds[0], buffer, 3));
    // Nothing is read or written for a count of 0, so even an invalid descriptor passes.
    EXPECT_TRUE(safeRead(-1, buffer, 0) && safeWrite(-1, "x", 0));
    EXPECT_TRUE(!safeRead(-1, buffer, 1) && errno == EBADF);
    EXPECT_TRUE(!safeWrite(-1, "x", 1) && errno == EBADF);
    Pipe unread;
    close(unread.fds[0]);
    unread.fds[0] = -1;
    void (*previous)(int) = ::signal(SIGPIPE, SIG_IGN);
    EXPECT_TRUE(!safeWrite(unread.fds[1], "x", 1) && errno == EPIPE);
    ::signal(SIGPIPE, previous);
}

TEST(DescriptorIOTest, ReadGoesOnAfterSignalsAndOnANonBlockingDescriptor)
{
    // Without SA_RESTART the blocked read returns EINTR again and again.
    Pipe pipe;
    std::thread writer([&] {
        for (const std::string piece : {"he", "llo"}) {
            usleep(30000);
            EXPECT_TRUE(safeWrite(pipe.fds[1], piece.data(), piece.size()));
        }
    });
    char buffer[12] = {};
    const int signalsBefore = g_signalsSeen;
    {
        Interrupter signals(false);
        EXPECT_TRUE(safeRead(pipe.fds[0], buffer, 5));
    }
    writer.join();
    EXPECT_STREQ("hello", buffer);
    EXPECT_LT(signalsBefore + 10, g_signalsSeen);

    Pipe nonBlocking(O_NONBLOCK);
    ASSERT_TRUE(safeWrite(nonBlocking.fds[1], "first", 5));
    std::thread late([&] {
        // Time for the reader to meet the empty pipe before the rest comes.
        usleep(30000);
        EXPECT_TRUE(safeWrite(nonBlocking.fds[1], "second", 6));
    });
    EXPECT_TRUE(safeRead(nonBlocking.fds[0], buffer, 11));
    late.join();
    EXPECT_STREQ("firstsecond", buffer);
}
