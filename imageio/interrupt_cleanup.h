// Temporary files that an interrupt (SIGINT, SIGTERM, SIGHUP), or any other signal that ends the
// process by default and can be caught (SIGXFSZ from a file-size limit, SIGXCPU, SIGPIPE, ...),
// removes before the process ends. A file is created and registered as one step, so that no
// such signal, whichever thread takes it, finds the file existing but unregistered. Work that can
// stop early (a frame) may instead take the first interrupt as a cancel, and end the process once
// it has stopped.
#ifndef SPIROVAULT_IMAGEIO_INTERRUPT_CLEANUP_H
#define SPIROVAULT_IMAGEIO_INTERRUPT_CLEANUP_H

#include <atomic>
#include <string>

namespace imageio {

// Creates a uniquely named empty file from `pattern` (a name ending in "XXXXXX", as mkstemp
// takes it), registered for removal. Returns a registration to release, or -1 with errno set.
// With `fd`, the file is left open for writing there; else it is closed.
int CreateTempRemovedOnInterrupt(std::string& pattern, int* fd = nullptr);

// While an interrupt is ending the process (on another thread), waits for the end: a writer
// that failed because its file was removed under it must not get to exit first, nor report.
void WaitIfInterruptEnding();

// Forgets a registration: removes the file first when `remove_file`, so that an interrupt in
// between finds it still registered.
void ReleaseTempRemovedOnInterrupt(int registration, bool remove_file);

// While one exists, on any thread, the first interrupt does not end the process: it is held, and
// sets the flag that InterruptCancel() returns, for the work in progress to stop early and then
// call EndIfInterrupted(). A second interrupt, or one while none exists, ends the process at once.
class InterruptCancelsWork {
  public:
    InterruptCancelsWork();
    ~InterruptCancelsWork();
    InterruptCancelsWork(const InterruptCancelsWork&) = delete;
    InterruptCancelsWork& operator=(const InterruptCancelsWork&) = delete;
};

// Set once an interrupt is held; never cleared.
const std::atomic<bool>& InterruptCancel();

// Ends the process as the held interrupt would have (temporary files removed, ended by the
// signal), if one is held; otherwise returns.
void EndIfInterrupted();

}  // namespace imageio

#endif
