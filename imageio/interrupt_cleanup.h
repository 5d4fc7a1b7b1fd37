// Temporary files that an interrupt (SIGINT, SIGTERM, SIGHUP), or any other signal that ends the
// process by default and can be caught (SIGXFSZ from a file-size limit, SIGXCPU, SIGPIPE, ...),
// removes before the process ends. A file is created and registered as one step, so that no
// such signal, whichever thread takes it, finds the file existing but unregistered.
#ifndef SPIROVAULT_IMAGEIO_INTERRUPT_CLEANUP_H
#define SPIROVAULT_IMAGEIO_INTERRUPT_CLEANUP_H

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

}  // namespace imageio

#endif
