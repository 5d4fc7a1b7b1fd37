// fork() for tests that interrupt their child: the child starts with SIGINT, SIGTERM and SIGHUP at
// their default actions whatever the test inherited (a shell that starts it in the background
// hands SIGINT down ignored), and a signal sent to it at any moment, even before those are reset,
// is held pending and then delivered rather than discarded.
#ifndef SPIROVAULT_TESTS_SUPPORT_FORK_WITH_DEFAULT_INTERRUPTS_H
#define SPIROVAULT_TESTS_SUPPORT_FORK_WITH_DEFAULT_INTERRUPTS_H

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

inline pid_t ForkWithDefaultInterrupts() {
    sigset_t interrupts;
    sigset_t previous;
    sigemptyset(&interrupts);
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&interrupts, signal_number);
    pthread_sigmask(SIG_BLOCK, &interrupts, &previous);
    const pid_t pid = fork();
    if (pid == 0) {
        for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) signal(signal_number, SIG_DFL);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return pid;
}

#endif
