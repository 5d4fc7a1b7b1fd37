#include "platform/module_directory.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#endif

namespace spirovault {

namespace {

// Any function of this module identifies it.
void ModuleAnchor() {}

std::string ParentDirectory(const std::string& path) {
#if defined(_WIN32)
    const size_t slash = path.find_last_of("\\/");
#else
    const size_t slash = path.find_last_of('/');
#endif
    if (slash == std::string::npos) return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string Locate() {
#if defined(_WIN32)
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&ModuleAnchor), &module)) {
        return {};
    }
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return ParentDirectory(std::string(path, length));
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleAnchor), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    // A library opened by a relative path is known by that path; resolve it while the working
    // directory is still the one it was opened from.
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved) == nullptr) return {};
    return ParentDirectory(resolved);
#endif
}

// Located when the library is loaded.
const std::string module_directory = Locate();

}  // namespace

std::string ModuleDirectory() {
    return module_directory;
}

}  // namespace spirovault
