#include "imageio/interrupt_cleanup.h"

#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace imageio {

namespace {

// Every signal whose default action ends the process and that a handler may take. The faults
// (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS) are left out: they report a fault
// in the program, which the sanitizers' own handlers must see.
constexpr int kInterrupts[] = {SIGINT,  SIGTERM, SIGHUP,   SIGQUIT, SIGPIPE,   SIGALRM,
                               SIGUSR1, SIGUSR2, SIGXCPU,  SIGXFSZ, SIGVTALRM, SIGPROF,
#if defined(__linux__)
                               SIGPOLL, SIGPWR,  SIGSTKFLT
#endif
};

// Files being written at once: one per frame in flight is far below this.
constexpr int kRegistrations = 64;

struct Registration {
    std::atomic<bool> claimed{false};
    std::atomic<bool> armed{false};  // `path` names a file to remove
    char path[PATH_MAX] = {};
};

Registration registrations[kRegistrations];
// Threads between creating a file and registering it. They hold the interrupts blocked, so the
// handler never runs on one of them and can wait for them to finish.
std::atomic<int> registering{0};
// Set by the handler before it waits: a registration that starts later creates nothing.
std::atomic<bool> ending{false};

// Work under way that takes an interrupt as a cancel (InterruptCancelsWork), the interrupt it
// holds (0: none) and the flag the work reads.
std::atomic<int> cancellable{0};
std::atomic<int> held{0};
std::atomic<bool> cancel{false};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the interrupt handler uses these");

extern "C" void RemoveRegisteredAndEnd(int signal_number) {
    ending.store(true);
    while (registering.load() != 0) {
    }
    for (Registration& r : registrations) {
        if (r.armed.load()) unlink(r.path);
    }
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

extern "C" void OnInterrupt(int signal_number) {
    int none = 0;
    if (cancellable.load() > 0 && held.compare_exchange_strong(none, signal_number)) {
        cancel.store(true);
        // The work may have ended just before the interrupt was held, its last look at it
        // already taken: then nothing is left to stop, and the process ends now.
        if (cancellable.load() > 0) return;
    }
    RemoveRegisteredAndEnd(signal_number);
}

void InstallHandlersOnce() {
    static const bool installed = [] {
        for (int signal_number : kInterrupts) {
            struct sigaction current {};
            if (sigaction(signal_number, nullptr, &current) != 0) continue;
            // An interrupt the caller chose to ignore (nohup) stays ignored. The other signals
            // are taken only at their default action: a profiler's SIGPROF handler, say, stays.
            const bool is_default =
                (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL;
            const bool interrupt =
                signal_number == SIGINT || signal_number == SIGTERM || signal_number == SIGHUP;
            if (interrupt ? current.sa_handler == SIG_IGN : !is_default) continue;
            struct sigaction action {};
            action.sa_handler = OnInterrupt;
            sigemptyset(&action.sa_mask);
            for (int other : kInterrupts) sigaddset(&action.sa_mask, other);
            sigaction(signal_number, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

class InterruptsBlocked {
  public:
    InterruptsBlocked() {
        sigset_t blocked;
        sigemptyset(&blocked);
        for (int signal_number : kInterrupts) sigaddset(&blocked, signal_number);
        pthread_sigmask(SIG_BLOCK, &blocked, &previous_);
    }
    ~InterruptsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    InterruptsBlocked(const InterruptsBlocked&) = delete;
    InterruptsBlocked& operator=(const InterruptsBlocked&) = delete;

  private:
    sigset_t previous_;
};

int Claim() {
    for (int i = 0; i < kRegistrations; ++i) {
        bool free = false;
        if (registrations[i].claimed.compare_exchange_strong(free, true)) return i;
    }
    return -1;
}

}  // namespace

int CreateTempRemovedOnInterrupt(std::string& pattern, int* fd_out) {
    if (pattern.size() >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return -1;
    }
    InstallHandlersOnce();
    int result = -1;
    int error = 0;
    bool interrupted = false;
    {
        InterruptsBlocked blocked;
        registering.fetch_add(1);
        if (ending.load()) {
            interrupted = true;
        } else if ((result = Claim()) < 0) {
            error = EMFILE;
        } else {
            Registration& r = registrations[result];
            std::memcpy(r.path, pattern.c_str(), pattern.size() + 1);
            const int fd = mkstemp(r.path);
            if (fd < 0) {
                error = errno;
                r.claimed.store(false);
                result = -1;
            } else {
                if (fd_out != nullptr) {
                    *fd_out = fd;
                } else {
                    close(fd);
                }
                r.armed.store(true);
                pattern = r.path;
            }
        }
        registering.fetch_sub(1);
    }
    // Another thread is ending the process for an interrupt: this one waits for the end rather
    // than fail, so that nothing it does next (unwinding, exiting) can overtake the clean-up.
    while (interrupted) pause();
    errno = error;
    return result;
}

void WaitIfInterruptEnding() {
    while (ending.load()) pause();
}

void ReleaseTempRemovedOnInterrupt(int registration, bool remove_file) {
    if (registration < 0 || registration >= kRegistrations) return;
    Registration& r = registrations[registration];
    if (remove_file) unlink(r.path);
    r.armed.store(false);
    r.claimed.store(false);
}

InterruptCancelsWork::InterruptCancelsWork() {
    InstallHandlersOnce();
    cancellable.fetch_add(1);
}

InterruptCancelsWork::~InterruptCancelsWork() {
    cancellable.fetch_sub(1);
}

const std::atomic<bool>& InterruptCancel() {
    return cancel;
}

void EndIfInterrupted() {
    const int signal_number = held.load();
    if (signal_number == 0) return;
    {
        // As in the handler: no other interrupt runs the clean-up on this thread meanwhile.
        InterruptsBlocked blocked;
        RemoveRegisteredAndEnd(signal_number);
    }
    // Unblocked, the signal raised above ends the process; it may come a moment late.
    while (true) pause();
}

}  // namespace imageio
