#include "core/ProcessExit.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

#ifdef OKU_COVERAGE
extern "C" void __gcov_dump(void);
#endif

namespace OKU {

namespace {

std::atomic<void (*)()> g_exitAction{nullptr};

// Signals whose default action ends the process.
const int c_endingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
                               SIGFPE,  SIGSEGV, SIGPIPE, SIGALRM, SIGTERM, SIGUSR1, SIGUSR2,
                               SIGXCPU, SIGXFSZ, SIGSYS};

void runExitAction()
{
    if (void (*action)() = g_exitAction.exchange(nullptr))
        action();
}

// The handler is reset to the default before it runs and the signal is not
// blocked in it, so raising it again ends the process as it would have.
void onEndingSignal(int signal)
{
    const int savedErrno = errno;
    runExitAction();
    raise(signal);
    errno = savedErrno;
}

void installHandlers()
{
    std::atexit(runExitAction);
    for (int signal : c_endingSignals) {
        struct sigaction current;
        // A signal the process was told to ignore, or that has a handler of
        // its own, is left as it is.
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction action = {};
        action.sa_handler = onEndingSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND | SA_NODEFER;
        sigaction(signal, &action, nullptr);
    }
}

} // namespace

void setExitAction(void (*action)())
{
    static std::once_flag installed;
    g_exitAction.store(action);
    if (action)
        std::call_once(installed, installHandlers);
}

void exitProcess(int status)
{
    runExitAction();
#ifdef OKU_COVERAGE
    // A build measuring coverage writes its counts, which _exit would lose.
    __gcov_dump();
#endif
    _exit(status);
}

} // namespace OKU
