#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

struct ThreadInfo {
    long tid;
    std::string name;
};

ThreadInfo currentThread()
{
    const long tid = syscall(SYS_gettid);
    std::ifstream comm("/proc/self/task/" + std::to_string(tid) + "/comm");
    ThreadInfo info{tid, std::string()};
    std::getline(comm, info.name);
    return info;
}

// What the GUI threads did, in order, and on which thread. Only one GUI
// thread runs at a time, but they hand over to each other and to the test.
class Journal {
public:
    void note(const std::string& what)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_entries.push_back(what);
        m_threads.push_back(currentThread());
        m_changed.notify_all();
    }

    // Fails instead of hanging when the GUI threads never get that far.
    bool waitForEntries(size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(60),
                                  [this, count] { return m_entries.size() >= count; });
    }

    std::vector<std::string> entries()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_entries;
    }
    std::vector<ThreadInfo> threads()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_threads;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_entries;
    std::vector<ThreadInfo> m_threads;
};

} // namespace

TEST(ModalTest, HandlerResumesOnlyAfterTheDialogIsDestroyed)
{
    TestRootWidget root;
    Journal journal;
    Widget* dialog = nullptr;
    root.start();
    root.injectFunction(nullptr, [&] {
        journal.note("open");
        dialog = new Widget(&root, 10, 10, 20, 20);
        dialog->modal();
        journal.note(dialog->isDestroyed() ? "resumed" : "resumed too early");
    });
    root.injectFunction(nullptr, [&] { journal.note("meanwhile"); });
    root.injectFunction(nullptr, [&] {
        journal.note("close");
        dialog->destroy();
    });
    ASSERT_TRUE(journal.waitForEntries(4));
    root.stopGuiThread();

    EXPECT_EQ((std::vector<std::string>{"open", "meanwhile", "close", "resumed"}),
              journal.entries());
    const std::vector<ThreadInfo> threads = journal.threads();
    for (const ThreadInfo& t : threads)
        EXPECT_EQ("SOLGUI", t.name);
    EXPECT_NE(threads[0].tid, threads[1].tid);
    EXPECT_EQ(threads[1].tid, threads[2].tid);
    EXPECT_EQ(threads[0].tid, threads[3].tid);
    // The dialog was reaped once its modal loop let go of it.
    EXPECT_TRUE(root.getChildren().empty());
}

TEST(ModalTest, NestedDialogsUnwindInOrder)
{
    TestRootWidget root;
    Journal journal;
    Widget* dialogs[3] = {};
    root.start();
    for (int level = 0; level < 3; ++level) {
        root.injectFunction(nullptr, [&, level] {
            dialogs[level] = new Widget(&root);
            journal.note("open " + std::to_string(level));
            dialogs[level]->modal();
            journal.note("closed " + std::to_string(level));
        });
    }
    for (int level = 2; level >= 0; --level)
        root.injectFunction(nullptr, [&, level] { dialogs[level]->destroy(); });
    ASSERT_TRUE(journal.waitForEntries(6));
    root.stopGuiThread();

    EXPECT_EQ((std::vector<std::string>{"open 0", "open 1", "open 2", "closed 2", "closed 1",
                                        "closed 0"}),
              journal.entries());
    // Each level resumes on the thread that opened it.
    const std::vector<ThreadInfo> threads = journal.threads();
    EXPECT_EQ(threads[2].tid, threads[3].tid);
    EXPECT_EQ(threads[1].tid, threads[4].tid);
    EXPECT_EQ(threads[0].tid, threads[5].tid);
    EXPECT_NE(threads[0].tid, threads[1].tid);
    EXPECT_NE(threads[1].tid, threads[2].tid);
}
