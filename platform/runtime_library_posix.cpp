#include <dlfcn.h>

#include "platform/runtime_library.h"

// RTLD_LOCAL: nothing the library exports may stand in for another library's symbols.
RuntimeLibrary::RuntimeLibrary(const std::string& name)
    : handle_(dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        error_ = reason != nullptr ? reason : name + ": cannot open";
    }
}

RuntimeLibrary::~RuntimeLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

void* RuntimeLibrary::Symbol(const char* name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}
