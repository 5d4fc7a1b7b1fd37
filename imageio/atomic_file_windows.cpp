// The Windows form of the atomic write: a uniquely named temporary file beside the target,
// flushed and moved over it in one step; Ctrl+C or closing the console removes the temporary
// file before the process ends.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "imageio/atomic_file.h"
#include "imageio/float_image.h"

namespace imageio {

namespace {

size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

// The directory part with its separator, or nothing for a name in the working directory.
std::string DirectoryPrefix(const std::string& path) {
    const size_t slash = LastSeparator(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseName(const std::string& path) {
    const size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SystemMessage(DWORD code) {
    char text[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 &&
           (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == '.')) {
        --length;
    }
    return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

std::string CannotWrite(const std::string& path, DWORD code) {
    return "cannot write " + path + ": " + SystemMessage(code);
}

// Creates a uniquely named empty file beside `target`; returns its name.
std::string CreateTempBeside(const std::string& target) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (BaseName(target).empty() ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))) {
        throw ImageError("cannot write " + target + ": Is a directory");
    }
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = DirectoryPrefix(target) + "." + BaseName(target) + "." +
                                 std::to_string(GetCurrentProcessId()) + "." +
                                 std::to_string(counter++);
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return name;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            throw ImageError(CannotWrite(target, GetLastError()));
    }
    throw ImageError(CannotWrite(target, ERROR_FILE_EXISTS));
}

// The temporary file an interrupt must remove; the handler runs on its own thread.
std::atomic<const char*> pending_temp{nullptr};

BOOL WINAPI RemovePendingOnInterrupt(DWORD) {
    const char* path = pending_temp.exchange(nullptr);
    if (path != nullptr) DeleteFileA(path);
    return FALSE;  // the default handler then ends the process
}

void InstallInterruptHandler() {
    static const bool installed = SetConsoleCtrlHandler(RemovePendingOnInterrupt, TRUE) != 0;
    (void)installed;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& target) : target_(target), final_(target) {
    InstallInterruptHandler();
    temp_path_ = CreateTempBeside(target);
    stream_ = std::fopen(temp_path_.c_str(), "r+b");
    if (stream_ == nullptr) {
        const DWORD error = GetLastError();
        DeleteFileA(temp_path_.c_str());
        throw ImageError(CannotWrite(target, error));
    }
    // One file at a time is guarded; a nested writer keeps its own clean-up only.
    const char* none = nullptr;
    pending_temp.compare_exchange_strong(none, temp_path_.c_str());
}

AtomicFile::~AtomicFile() {
    if (stream_ != nullptr) std::fclose(stream_);
    const char* mine = temp_path_.c_str();
    pending_temp.compare_exchange_strong(mine, nullptr);
    if (!committed_) DeleteFileA(temp_path_.c_str());
}

void AtomicFile::Fail(int error) const {
    throw ImageError("cannot write " + target_ + ": " + std::strerror(error != 0 ? error : EIO));
}

void AtomicFile::Commit() {
    errno = 0;
    const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    const int write_error = errno;
    std::FILE* stream = stream_;
    stream_ = nullptr;
    if (std::fclose(stream) != 0 || !written) Fail(written ? errno : write_error);
    HANDLE file = CreateFileA(temp_path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw ImageError(CannotWrite(target_, GetLastError()));
    const bool flushed = FlushFileBuffers(file) != 0;
    const DWORD flush_error = GetLastError();
    CloseHandle(file);
    if (!flushed) throw ImageError(CannotWrite(target_, flush_error));
    if (!MoveFileExA(temp_path_.c_str(), final_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw ImageError(CannotWrite(target_, GetLastError()));
    }
    committed_ = true;
    const char* mine = temp_path_.c_str();
    pending_temp.compare_exchange_strong(mine, nullptr);
}

void CheckWritable(const std::string& target) {
    const std::string probe = CreateTempBeside(target);
    DeleteFileA(probe.c_str());
}

}  // namespace imageio
