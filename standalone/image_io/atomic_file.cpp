#include "standalone/image_io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "standalone/image_io/float_image.h"

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

// Creates a uniquely named empty file beside `target`; returns its name.
std::string CreateTempBeside(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        throw ImageError(CannotWrite(target, EISDIR));
    }
    if (BaseName(target).empty()) throw ImageError(CannotWrite(target, EISDIR));
    std::string pattern = Directory(target) + "/." + BaseName(target) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) throw ImageError(CannotWrite(target, errno));
    close(fd);
    return name.data();
}

// The temporary file an interrupt must remove; the handler may only read it.
std::atomic<const char*> pending_temp{nullptr};

extern "C" void RemovePendingAndExit(int signal_number) {
    const char* path = pending_temp.exchange(nullptr);
    if (path != nullptr) unlink(path);
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

void InstallInterruptHandlers() {
    static const bool installed = [] {
        for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
            std::signal(signal_number, RemovePendingAndExit);
        }
        return true;
    }();
    (void)installed;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& target) : target_(target) {
    InstallInterruptHandlers();
    temp_path_ = CreateTempBeside(target);
    // One file at a time is guarded; a nested writer keeps its own clean-up only.
    const char* none = nullptr;
    pending_temp.compare_exchange_strong(none, temp_path_.c_str());
}

AtomicFile::~AtomicFile() {
    const char* mine = temp_path_.c_str();
    pending_temp.compare_exchange_strong(mine, nullptr);
    if (!committed_) std::remove(temp_path_.c_str());
}

void AtomicFile::Commit() {
    const int fd = open(temp_path_.c_str(), O_RDONLY);
    if (fd < 0 || fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) close(fd);
        throw ImageError(CannotWrite(target_, error));
    }
    close(fd);
    // mkstemp makes the file private; an image gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temp_path_.c_str(), 0666 & ~mask);
    if (std::rename(temp_path_.c_str(), target_.c_str()) != 0) {
        throw ImageError(CannotWrite(target_, errno));
    }
    committed_ = true;
    // An interrupt up to here found nothing left to remove under the temporary name.
    const char* mine = temp_path_.c_str();
    pending_temp.compare_exchange_strong(mine, nullptr);
}

void CheckWritable(const std::string& target) {
    const std::string probe = CreateTempBeside(target);
    std::remove(probe.c_str());
}
