#ifndef OKU_CORE_PROCESSEXIT_H
#define OKU_CORE_PROCESSEXIT_H

namespace OKU {

/// The program ends through _exit or a signal, so neither destructors nor
/// atexit handlers run on the way out. What must still be undone when it ends
/// (the console's graphics mode) registers one action here, which runs on
/// every way out: exitProcess, exit, and each signal that ends a process by
/// default (the signal then ends it as before). The action must be
/// async-signal-safe; null removes it.
void setExitAction(void (*action)());

/// Runs the exit action, then _exit(status).
[[noreturn]] void exitProcess(int status);

} // namespace OKU

#endif
