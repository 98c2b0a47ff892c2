#include <chrono>
#include <condition_variable>
#include <fstream>
#include <set>
#include <thread>

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

// A handler that opens a dialog resumes only once the dialog is destroyed,
// on its own thread, while a new thread runs the loop meanwhile; the dialog
// stays protected and marked modal until then.
TEST(ModalTest, NestedDialogsUnwindInOrderEachOnTheThreadThatOpenedIt)
{
    TestRootWidget root;
    // A destroyed widget returns at once.
    Widget* gone = new Widget(&root);
    gone->destroy();
    gone->modal();
    EXPECT_EQ(0, gone->getProtectCount());

    Journal journal;
    Widget* dialogs[3] = {};
    root.start();
    for (int level = 0; level < 3; ++level) {
        root.injectFunction(nullptr, [&, level] {
            dialogs[level] = new Widget(&root);
            journal.note("open " + std::to_string(level));
            dialogs[level]->modal();
            const bool done = dialogs[level]->isDestroyed() && !dialogs[level]->isModal() &&
                              dialogs[level]->getProtectCount() == 0;
            journal.note((done ? "closed " : "resumed too early ") + std::to_string(level));
        });
    }
    for (int level = 2; level >= 0; --level)
        root.injectFunction(nullptr, [&, level] {
            const bool held = dialogs[level]->isModal() && dialogs[level]->getProtectCount() == 1;
            journal.note(held ? "close" : "not held");
            dialogs[level]->destroy();
        });
    ASSERT_TRUE(journal.waitForEntries(9));
    root.stopGuiThread();

    EXPECT_EQ((Log{"open 0", "open 1", "open 2", "close", "closed 2", "close", "closed 1",
                   "close", "closed 0"}),
              journal.m_entries);
    EXPECT_EQ(Log(9, "SOLGUI"), journal.m_names);
    // While a dialog is open a new thread runs the loop and opens the next one.
    const std::vector<long>& tids = journal.m_tids;
    EXPECT_EQ((std::vector<long>{tids[0], tids[1], tids[2], tids[3], tids[2], tids[2], tids[1],
                                 tids[1], tids[0]}),
              tids);
    EXPECT_EQ(4u, std::set<long>(tids.begin(), tids.end()).size());
    // Reaped once their modal loops let go of them.
    EXPECT_TRUE(root.getChildren().empty());
}

// quit ends the loop after the event that asked for it, also from inside a
// dialog (whose caller then never resumes) or from another thread, and
// hands its status to the one waiting; nothing queued after it is handled.
TEST(ModalTest, QuitEndsTheLoopAfterTheCurrentEventWhereverItIsAskedFor)
{
    for (const bool fromDialog : {false, true}) {
        // The dialog's caller waits on the root for ever: the root is kept,
        // as a program's lives as long as the process (in a plain array, which
        // exit leaves alone, so that it stays reachable).
        static TestRootWidget* s_keptRoots[2];
        s_keptRoots[fromDialog] = new TestRootWidget;
        TestRootWidget& root = *s_keptRoots[fromDialog];
        static Journal s_journals[2];
        Journal& journal = s_journals[fromDialog];
        const auto quit = [&] {
            root.quit(7);
            journal.note("quit");
            root.injectFunction(nullptr, [&] { journal.note("queued after quit"); });
        };
        root.start();
        root.injectFunction(nullptr, [&] {
            if (!fromDialog)
                return quit();
            Widget* dialog = new Widget(&root);
            root.injectFunction(nullptr, quit);
            dialog->modal();
            journal.note("dialog resumed");
        });
        EXPECT_EQ(7, root.waitForQuit());
        root.quit(9);
        root.injectFunction(nullptr, [&] { journal.note("injected later"); });
        usleep(50000);
        // Only the GUI thread wrote the journal, and it has ended.
        EXPECT_EQ(Log{"quit"}, journal.m_entries) << fromDialog;
    }

    // From another thread while the loop waits for events.
    TestRootWidget root;
    root.start();
    root.onGuiThread([] {});
    std::thread([&root] { root.quit(3); }).join();
    EXPECT_EQ(3, root.waitForQuit());
}
