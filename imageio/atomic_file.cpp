#include "imageio/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imageio/float_image.h"
#include "imageio/interrupt_cleanup.h"

namespace imageio {

namespace {

// Links followed before the name is taken as a loop, as the kernel counts them.
constexpr int kMaxLinks = 40;

std::string Directory(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CannotWrite(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

// The descriptor a name stands for: "-" and /dev/stdout for standard output, /dev/fd/N and
// /proc/self/fd/N for N; -1 for any other name. These are written through the descriptor this
// process holds, which also reaches a socket or a file opened for appending as it should.
int DescriptorNamed(const std::string& path) {
    if (path == "-" || path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const size_t length = std::strlen(prefix);
        if (path.compare(0, length, prefix) != 0 || path.size() == length ||
            path.size() > length + 9) {
            continue;
        }
        int fd = 0;
        for (size_t i = length; i < path.size(); ++i) {
            if (path[i] < '0' || path[i] > '9') return -1;
            fd = fd * 10 + (path[i] - '0');
        }
        return fd;
    }
    return -1;
}

// Where the bytes go.
struct Destination {
    std::string file;      // what is written or renamed over: the name with its links followed
    int descriptor = -1;   // a descriptor of this process that stands for it
    bool through = false;  // written directly: it exists and is not a regular file
};

Destination Resolve(const std::string& target) {
    Destination to;
    to.file = target;
    for (int links = 0;; ++links) {
        to.descriptor = DescriptorNamed(to.file);
        if (to.descriptor >= 0) {
            to.through = true;
            return to;
        }
        struct stat info {};
        if (lstat(to.file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        if (links == kMaxLinks) throw ImageError(CannotWrite(target, ELOOP));
        char link[PATH_MAX];
        const ssize_t length = readlink(to.file.c_str(), link, sizeof link - 1);
        if (length < 0) throw ImageError(CannotWrite(target, errno));
        const std::string points_to(link, static_cast<size_t>(length));
        to.file = points_to.front() == '/' ? points_to : Directory(to.file) + "/" + points_to;
    }
    struct stat info {};
    if (stat(to.file.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) throw ImageError(CannotWrite(target, EISDIR));
        to.through = !S_ISREG(info.st_mode);
    }
    if (BaseName(to.file).empty()) throw ImageError(CannotWrite(target, EISDIR));
    return to;
}

// ".NAME.XXXXXX" beside the file; a name too long to take the 8 characters more is shortened,
// as the user's own name must not be.
std::string TempPattern(const std::string& file) {
    const std::string directory = Directory(file);
    const long name_max = pathconf(directory.c_str(), _PC_NAME_MAX);
    const size_t longest = name_max > 8 ? static_cast<size_t>(name_max) : NAME_MAX;
    std::string name = "." + BaseName(file);
    if (name.size() + 7 > longest) name.resize(longest - 7);
    return directory + "/" + name + ".XXXXXX";
}

}  // namespace

AtomicFile::AtomicFile(const std::string& target) : target_(target) {
    const Destination to = Resolve(target);
    final_ = to.file;
    through_ = to.through;
    if (through_) {
        temp_path_ = to.file;
        const int fd = to.descriptor >= 0 ? fcntl(to.descriptor, F_DUPFD_CLOEXEC, 3)
                                          : open(to.file.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0 || (stream_ = fdopen(fd, "wb")) == nullptr) {
            const int error = errno;
            if (fd >= 0) close(fd);
            throw ImageError(CannotWrite(target, error));
        }
        return;
    }
    temp_path_ = TempPattern(final_);
    int fd = -1;
    interrupt_registration_ = CreateTempRemovedOnInterrupt(temp_path_, &fd);
    if (interrupt_registration_ < 0) throw ImageError(CannotWrite(target, errno));
    stream_ = fdopen(fd, "wb");
    if (stream_ == nullptr) {
        const int error = errno;
        close(fd);
        ReleaseTempRemovedOnInterrupt(interrupt_registration_, true);
        throw ImageError(CannotWrite(target, error));
    }
}

AtomicFile::~AtomicFile() {
    if (stream_ != nullptr) std::fclose(stream_);
    if (through_) return;
    if (!committed_) WaitIfInterruptEnding();
    ReleaseTempRemovedOnInterrupt(interrupt_registration_, !committed_);
}

void AtomicFile::Fail(int error) const {
    WaitIfInterruptEnding();  // the file may be gone because an interrupt removed it
    throw ImageError(CannotWrite(target_, error != 0 ? error : EIO));
}

void AtomicFile::Commit() {
    errno = 0;
    int error = 0;
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) error = errno != 0 ? errno : EIO;
    if (error == 0 && !through_) {
        // mkstemp makes the file private; an image gets the usual permissions.
        const mode_t mask = umask(0);
        umask(mask);
        if (fchmod(fileno(stream_), 0666 & ~mask) != 0 || fsync(fileno(stream_)) != 0) {
            error = errno;
        }
    }
    std::FILE* stream = stream_;
    stream_ = nullptr;
    if (std::fclose(stream) != 0 && error == 0) error = errno;
    if (error != 0) Fail(error);
    if (through_) {
        committed_ = true;
        return;
    }
    if (std::rename(temp_path_.c_str(), final_.c_str()) != 0) Fail(errno);
    committed_ = true;
    // An interrupt up to here finds nothing left under the temporary name.
    ReleaseTempRemovedOnInterrupt(interrupt_registration_, false);
    interrupt_registration_ = -1;
}

void CheckWritable(const std::string& target) {
    const Destination to = Resolve(target);
    if (to.descriptor >= 0) {
        const int flags = fcntl(to.descriptor, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
            throw ImageError(CannotWrite(target, flags < 0 ? errno : EBADF));
        }
        return;
    }
    if (to.through) {
        // Opening a pipe here would wait for its reader; whether it may be written is enough.
        if (access(to.file.c_str(), W_OK) != 0) throw ImageError(CannotWrite(target, errno));
        return;
    }
    const AtomicFile probe(target);
}

}  // namespace imageio
