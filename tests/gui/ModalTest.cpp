#include <chrono>
#include <condition_variable>
#include <fstream>

#include <sys/syscall.h>
#include <unistd.h>

#include "gui/TestRootWidget.h"

using namespace OKU;

namespace {

// What the GUI threads did, in order, with the id and name of the thread.
class Journal {
public:
    void note(const std::string& what)
    {
        const long tid = syscall(SYS_gettid);
        std::string name;
        std::ifstream comm("/proc/self/task/" + std::to_string(tid) + "/comm");
        std::getline(comm, name);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_entries.push_back(what);
        m_tids.push_back(tid);
        m_names.push_back(name);
        m_changed.notify_all();
    }

    // Fails instead of hanging when the GUI threads never get that far.
    bool waitForEntries(size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(60),
                                  [this, count] { return m_entries.size() >= count; });
    }

    // Read only after the GUI thread has stopped.
    Log m_entries;
    std::vector<long> m_tids;
    Log m_names;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
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

    EXPECT_EQ((Log{"open", "meanwhile", "close", "resumed"}), journal.m_entries);
    EXPECT_EQ((Log{"SOLGUI", "SOLGUI", "SOLGUI", "SOLGUI"}), journal.m_names);
    const std::vector<long>& tids = journal.m_tids;
    EXPECT_NE(tids[0], tids[1]);
    EXPECT_EQ(tids[1], tids[2]);
    EXPECT_EQ(tids[0], tids[3]);
    // Reaped once its modal loop let go of it.
    EXPECT_TRUE(root.getChildren().empty());
}

TEST(ModalTest, NestedDialogsUnwindInOrderEachOnTheThreadThatOpenedIt)
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

    EXPECT_EQ((Log{"open 0", "open 1", "open 2", "closed 2", "closed 1", "closed 0"}),
              journal.m_entries);
    const std::vector<long>& tids = journal.m_tids;
    EXPECT_EQ(tids[2], tids[3]);
    EXPECT_EQ(tids[1], tids[4]);
    EXPECT_EQ(tids[0], tids[5]);
    EXPECT_NE(tids[0], tids[1]);
    EXPECT_NE(tids[1], tids[2]);
}
