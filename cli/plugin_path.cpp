#include "cli/plugin_path.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

#include "cli/cli_error.h"

namespace cli {

namespace {

#if defined(_WIN32)
constexpr const char* kPluginBesideProgram = "\\Spirovault.aex";

std::string ProgramDirectory() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::string program(path, length);
    const size_t slash = program.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

bool Readable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
#else
constexpr const char* kPluginBesideProgram = "/spirovault.so";

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    const std::string program(path, static_cast<size_t>(length));
    const size_t slash = program.find_last_of('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

bool Readable(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}
#endif

}  // namespace

std::string FindPluginLibrary(const std::optional<std::string>& given) {
    if (given) {
        if (!Readable(*given))
            throw CliError("--plugin " + *given + ": no such file or not readable");
#if !defined(_WIN32)
        // A bare name would send the loader searching the library path instead of this folder.
        if (given->find('/') == std::string::npos) return "./" + *given;
#endif
        return *given;
    }
    const std::string beside = ProgramDirectory() + kPluginBesideProgram;
    if (Readable(beside)) return beside;
    return SPIROVAULT_BUILT_PLUGIN;
}

}  // namespace cli
