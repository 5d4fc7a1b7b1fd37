// The fuzz input as a file, for readers that take a path and look at the file's size: one
// file per process, rewritten for each input and removed at exit.
#ifndef SPIROVAULT_TESTS_FUZZ_FUZZ_INPUT_FILE_H
#define SPIROVAULT_TESTS_FUZZ_FUZZ_INPUT_FILE_H

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline const std::string& FuzzInputPath(const char* suffix) {
    static const std::string path = [suffix] {
        const char* dir = std::getenv("TMPDIR");
        std::string p = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") +
                        "/spirovault_fuzz_" + std::to_string(getpid()) + suffix;
        static std::string removed_at_exit;
        removed_at_exit = p;
        std::atexit([] { std::remove(removed_at_exit.c_str()); });
        return p;
    }();
    return path;
}

inline const std::string& WriteFuzzInput(const uint8_t* data, size_t size, const char* suffix) {
    const std::string& path = FuzzInputPath(suffix);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path;
}

// Stops the run as a finding: a broken promise of the code under test.
inline void FuzzCheck(bool condition) {
    if (!condition) __builtin_trap();
}

#endif
