// Input files read through one open. A regular file is left to the readers, by its name; anything
// else (a pipe, a FIFO, a character device such as /dev/stdin) can be read only once, and a FIFO
// opened a second time waits for a writer that has gone, so it is read whole into memory here.
#ifndef SPIROVAULT_IMAGEIO_INPUT_FILE_H
#define SPIROVAULT_IMAGEIO_INPUT_FILE_H

#include <cstddef>
#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

namespace imageio {

struct InputFile {
    std::string path;
    bool regular = true;
    std::vector<uint8_t> bytes;  // all of it, when not a regular file
    bool over_cap = false;       // there was more than the cap: `bytes` holds the cap's worth
};

// The largest image file taken through a pipe: float RGBA at the pixel budget, stored flat,
// with room for the headers.
size_t MaxStreamedImageBytes();

// Opens `path` once. What is not a regular file is read to its end, or to its cap: `image_cap`
// bytes when it starts as a PNG or OpenEXR file does, else `other_cap`. Throws ImageError
// "cannot read PATH: ..." when it cannot be opened or read.
InputFile OpenInput(const std::string& path, size_t image_cap, size_t other_cap);

// A read-only stream over bytes held elsewhere, with seeking.
class MemoryBuffer : public std::streambuf {
  public:
    MemoryBuffer(const void* data, size_t size) {
        char* begin = const_cast<char*>(static_cast<const char*>(data));
        setg(begin, begin, begin + size);
    }

  protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir from,
                     std::ios_base::openmode) override {
        const char* base =
            from == std::ios_base::beg ? eback() : (from == std::ios_base::cur ? gptr() : egptr());
        const off_type at = (base - eback()) + offset;
        if (at < 0 || at > egptr() - eback()) return pos_type(off_type(-1));
        setg(eback(), eback() + at, egptr());
        return pos_type(at);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }
};

}  // namespace imageio

#endif
