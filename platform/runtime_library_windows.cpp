#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/runtime_library.h"

namespace {

std::string DescribeLastError(const std::string& name) {
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    if (reason.empty()) reason = "error " + std::to_string(code);
    return name + ": " + reason;
}

}  // namespace

// No error dialog for a missing library or one of its dependencies: a machine without the
// library is an ordinary case, answered by opened() being false.
RuntimeLibrary::RuntimeLibrary(const std::string& name) {
    DWORD previous_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_mode);
    handle_ = LoadLibraryA(name.c_str());
    if (handle_ == nullptr) error_ = DescribeLastError(name);
    SetThreadErrorMode(previous_mode, nullptr);
}

RuntimeLibrary::~RuntimeLibrary() {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* RuntimeLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    // FARPROC is a function pointer type; callers cast back to the symbol's real type.
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}
