#include "imageio/input_file.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "imageio/float_image.h"
#include "imageio/image_budget.h"

namespace imageio {

namespace {

[[maybe_unused]] bool StartsAsImage(const std::vector<uint8_t>& bytes) {
    static constexpr uint8_t kPng[4] = {0x89, 'P', 'N', 'G'};
    static constexpr uint8_t kExr[4] = {0x76, 0x2f, 0x31, 0x01};
    return bytes.size() >= 4 &&
           (std::memcmp(bytes.data(), kPng, 4) == 0 || std::memcmp(bytes.data(), kExr, 4) == 0);
}

}  // namespace

size_t MaxStreamedImageBytes() {
    return static_cast<size_t>(kMaxImagePixels) * 4 * sizeof(float) + (size_t{64} << 20);
}

#if defined(_WIN32)
// Pipes are not named by paths there: every input is read by its name.
InputFile OpenInput(const std::string& path, size_t, size_t) {
    InputFile input;
    input.path = path;
    return input;
}
#else
InputFile OpenInput(const std::string& path, size_t image_cap, size_t other_cap) {
    const auto fail = [&path](const std::string& why) {
        return ImageError("cannot read " + path + ": " + why);
    };
    InputFile input;
    input.path = path;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw fail(std::strerror(errno));
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
        // A directory is left to the readers, whose messages say what it is.
        close(fd);
        return input;
    }
    input.regular = false;
    size_t cap = other_cap;
    char piece[1 << 16];
    while (true) {
        const ssize_t got = read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            close(fd);
            throw fail(std::strerror(error));
        }
        if (got == 0) break;
        const bool had_head = input.bytes.size() >= 4;
        input.bytes.insert(input.bytes.end(), piece, piece + got);
        if (!had_head && StartsAsImage(input.bytes)) cap = image_cap;
        if (input.bytes.size() > cap) {
            // Read no further: a device may never end.
            input.bytes.resize(cap);
            input.over_cap = true;
            break;
        }
    }
    close(fd);
    return input;
}
#endif

}  // namespace imageio
