// Writes a file so that it appears whole or not at all: the bytes go to a temporary file in the
// same directory, which is renamed over the target only when everything was written. An
// interrupt (SIGINT, SIGTERM, SIGHUP) at any moment while the temporary file exists removes it
// before the process ends.
#ifndef SPIROVAULT_IMAGEIO_ATOMIC_FILE_H
#define SPIROVAULT_IMAGEIO_ATOMIC_FILE_H

#include <string>

namespace imageio {

class AtomicFile {
  public:
    // Creates the temporary file; throws ImageError when the directory does not take it.
    explicit AtomicFile(const std::string& target);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where the encoder writes. It exists already: open it without creating it ("r+b"), so
    // that a file an interrupt has removed is not made again.
    const std::string& temp_path() const { return temp_path_; }
    // Flushes the file to disk and renames it over the target; throws ImageError on failure.
    void Commit();

  private:
    std::string target_;
    std::string temp_path_;
    bool committed_ = false;
    int interrupt_registration_ = -1;  // where the interrupt handler finds the temporary file
};

// Throws ImageError when no file can be created next to `target` (missing or read-only
// directory, or `target` names a directory), so that a render fails before it starts. The probe
// file is guarded against interrupts as a temporary file is.
void CheckWritable(const std::string& target);

}  // namespace imageio

#endif
