#include "standalone/cli/plugin_path.h"

#include <unistd.h>

#include <climits>

namespace {

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    const std::string program(path, static_cast<size_t>(length));
    const size_t slash = program.find_last_of('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

}  // namespace

std::string FindPluginLibrary(const std::optional<std::string>& given) {
    if (given) return *given;
    const std::string beside = ProgramDirectory() + "/spirovault.so";
    if (access(beside.c_str(), R_OK) == 0) return beside;
    return SPIROVAULT_BUILT_PLUGIN;
}
