#include "core/DescriptorIO.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace OKU;

namespace {

class Pipe {
public:
    explicit Pipe(int flags = 0)
    {
        int fds[2];
        EXPECT_EQ(0, pipe2(fds, flags));
        m_read = fds[0];
        m_write = fds[1];
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }

    int readEnd() const { return m_read; }
    int writeEnd() const { return m_write; }
    void closeRead() { closeEnd(m_read); }
    void closeWrite() { closeEnd(m_write); }

private:
    static void closeEnd(int& fd)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }

    int m_read = -1;
    int m_write = -1;
};

std::atomic<int> g_signalsSeen(0);

void countSignal(int)
{
    ++g_signalsSeen;
}

// Installs a handler without SA_RESTART, so that the signal makes a blocked
// read return EINTR, and restores the previous one afterwards.
class InterruptingSignal {
public:
    InterruptingSignal()
    {
        struct sigaction action = {};
        action.sa_handler = countSignal;
        sigemptyset(&action.sa_mask);
        EXPECT_EQ(0, sigaction(SIGUSR1, &action, &m_previous));
    }
    InterruptingSignal(const InterruptingSignal&) = delete;
    InterruptingSignal& operator=(const InterruptingSignal&) = delete;
    ~InterruptingSignal() { sigaction(SIGUSR1, &m_previous, nullptr); }

private:
    struct sigaction m_previous;
};

// True while the thread is blocked in a read system call.
bool isBlockedInRead(pid_t tid)
{
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/syscall");
    long number = -1;
    in >> number;
    return in && number == SYS_read;
}

int pendingBytes(int fd)
{
    int count = 0;
    EXPECT_EQ(0, ioctl(fd, FIONREAD, &count));
    return count;
}

} // namespace

TEST(DescriptorIOTest, ReadCollectsPiecesUntilCountAndFailsAtEarlyEnd)
{
    Pipe pipe;
    ASSERT_TRUE(safeWrite(pipe.writeEnd(), "abc", 3));
    ASSERT_TRUE(safeWrite(pipe.writeEnd(), "defg", 4));
    char buffer[8] = {};
    ASSERT_TRUE(safeRead(pipe.readEnd(), buffer, 5));
    EXPECT_STREQ("abcde", buffer);

    pipe.closeWrite();
    EXPECT_FALSE(safeRead(pipe.readEnd(), buffer, 3));

    // Nothing is read for a count of 0, so even an invalid descriptor passes.
    EXPECT_TRUE(safeRead(-1, buffer, 0));
    EXPECT_FALSE(safeRead(-1, buffer, 1));
    EXPECT_EQ(EBADF, errno);
}

TEST(DescriptorIOTest, SignalDuringBlockingReadDoesNotEndIt)
{
    InterruptingSignal signal;
    Pipe pipe;
    const pid_t readerTid = static_cast<pid_t>(syscall(SYS_gettid));
    const pthread_t reader = pthread_self();
    const int signalsBefore = g_signalsSeen;
    std::atomic<bool> readerDone(false);

    // Each piece is sent only after a signal has interrupted the blocked read;
    // the waits give up once the reader has returned, so that a failing
    // reader cannot hang the test.
    std::thread writer([&] {
        for (const char* piece : {"he", "llo"}) {
            while (!readerDone && !isBlockedInRead(readerTid))
                usleep(1000);
            if (readerDone)
                return;
            const int seen = g_signalsSeen;
            pthread_kill(reader, SIGUSR1);
            while (g_signalsSeen == seen)
                usleep(1000);
            EXPECT_TRUE(safeWrite(pipe.writeEnd(), piece, std::char_traits<char>::length(piece)));
            while (!readerDone && pendingBytes(pipe.readEnd()) != 0)
                usleep(1000);
        }
    });
    char buffer[6] = {};
    const bool ok = safeRead(pipe.readEnd(), buffer, 5);
    readerDone = true;
    writer.join();

    EXPECT_TRUE(ok);
    EXPECT_STREQ("hello", buffer);
    EXPECT_EQ(signalsBefore + 2, g_signalsSeen);
}

TEST(DescriptorIOTest, ReadWaitsOnNonBlockingDescriptor)
{
    Pipe pipe(O_NONBLOCK);
    ASSERT_TRUE(safeWrite(pipe.writeEnd(), "first", 5));
    std::thread writer([&] {
        while (pendingBytes(pipe.readEnd()) != 0)
            usleep(1000);
        // Give the reader time to meet the empty pipe before the rest comes.
        usleep(20000);
        EXPECT_TRUE(safeWrite(pipe.writeEnd(), "second", 6));
    });
    char buffer[12] = {};
    const bool ok = safeRead(pipe.readEnd(), buffer, 11);
    writer.join();
    EXPECT_TRUE(ok);
    EXPECT_STREQ("firstsecond", buffer);
}

TEST(DescriptorIOTest, WriteSendsEverythingAndStopsAtTheFirstError)
{
    Pipe pipe;
    // More than a pipe holds, so several write calls are needed.
    const std::string data(1 << 20, 'q');
    std::string received(data.size(), '\0');
    std::thread reader([&] {
        EXPECT_TRUE(safeRead(pipe.readEnd(), &received[0], data.size()));
    });
    const bool ok = safeWrite(pipe.writeEnd(), data.data(), data.size());
    reader.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(data, received);

    EXPECT_TRUE(safeWrite(-1, "x", 0));
    EXPECT_FALSE(safeWrite(-1, "x", 1));
    EXPECT_EQ(EBADF, errno);

    void (*previous)(int) = ::signal(SIGPIPE, SIG_IGN);
    pipe.closeRead();
    EXPECT_FALSE(safeWrite(pipe.writeEnd(), "x", 1));
    EXPECT_EQ(EPIPE, errno);
    ::signal(SIGPIPE, previous);
}
