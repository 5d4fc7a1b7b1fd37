// Writes a file so that it appears whole or not at all: the bytes go to a temporary file in the
// target's directory, which is renamed over the target only when everything was written. A
// symbolic link is followed, so its target is the file replaced. What exists and is not a
// regular file (a device, a pipe, a socket, standard output as "-" or /dev/stdout) is written
// through directly instead: replacing it would destroy it. An interrupt or any other signal
// that ends the process while the temporary file exists removes it first.
#ifndef SPIROVAULT_IMAGEIO_ATOMIC_FILE_H
#define SPIROVAULT_IMAGEIO_ATOMIC_FILE_H

#include <cstdio>
#include <string>

namespace imageio {

class AtomicFile {
  public:
    // Creates the temporary file (or opens what is written through); throws ImageError when
    // that fails.
    explicit AtomicFile(const std::string& target);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where the encoder writes, open for writing; closed by Commit or the destructor.
    std::FILE* stream() { return stream_; }
    // The temporary file's name; the target itself when it is written through.
    const std::string& temp_path() const { return temp_path_; }
    // Flushes and closes the stream, every step checked, syncs the file to disk and renames it
    // over the target; throws ImageError on failure (a full disk included).
    void Commit();
    // Throws ImageError "cannot write TARGET: <why>": for encoders that find a write failed.
    [[noreturn]] void Fail(int error) const;

  private:
    std::string target_;  // as given, for messages
    std::string final_;   // the file renamed over: the target with its links followed
    std::string temp_path_;
    std::FILE* stream_ = nullptr;
    bool through_ = false;  // written directly, nothing to rename
    bool committed_ = false;
    int interrupt_registration_ = -1;  // where the interrupt handler finds the temporary file
};

// Throws ImageError when the target cannot be written (missing or read-only directory, a
// directory, a device that does not take writes), so that a render fails before it starts. The
// probe file is guarded against interrupts as a temporary file is.
void CheckWritable(const std::string& target);

}  // namespace imageio

#endif
