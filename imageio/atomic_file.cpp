#include "imageio/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "imageio/float_image.h"
#include "imageio/interrupt_cleanup.h"

namespace imageio {

namespace {

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

void CheckTarget(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        throw ImageError(CannotWrite(target, EISDIR));
    }
    if (BaseName(target).empty()) throw ImageError(CannotWrite(target, EISDIR));
}

}  // namespace

AtomicFile::AtomicFile(const std::string& target) : target_(target) {
    CheckTarget(target);
    temp_path_ = Directory(target) + "/." + BaseName(target) + ".XXXXXX";
    interrupt_registration_ = CreateTempRemovedOnInterrupt(temp_path_);
    if (interrupt_registration_ < 0) throw ImageError(CannotWrite(target, errno));
}

AtomicFile::~AtomicFile() {
    if (!committed_) WaitIfInterruptEnding();
    ReleaseTempRemovedOnInterrupt(interrupt_registration_, !committed_);
}

void AtomicFile::Commit() {
    const int fd = open(temp_path_.c_str(), O_RDONLY);
    if (fd < 0 || fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) close(fd);
        WaitIfInterruptEnding();  // the file may be gone because an interrupt removed it
        throw ImageError(CannotWrite(target_, error));
    }
    close(fd);
    // mkstemp makes the file private; an image gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temp_path_.c_str(), 0666 & ~mask);
    if (std::rename(temp_path_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        WaitIfInterruptEnding();
        throw ImageError(CannotWrite(target_, error));
    }
    committed_ = true;
    // An interrupt up to here finds nothing left under the temporary name.
    ReleaseTempRemovedOnInterrupt(interrupt_registration_, false);
    interrupt_registration_ = -1;
}

void CheckWritable(const std::string& target) {
    const AtomicFile probe(target);
}

}  // namespace imageio
