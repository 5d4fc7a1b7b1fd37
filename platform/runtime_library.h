// A shared library opened by name at run time: for interfaces a machine may lack (the OpenCL
// runtime) and, in the standalone host, for the plug-in itself. Closed when its owner goes.
#ifndef SPIROVAULT_PLATFORM_RUNTIME_LIBRARY_H
#define SPIROVAULT_PLATFORM_RUNTIME_LIBRARY_H

#include <string>

class RuntimeLibrary {
  public:
    // Never throws: a library that cannot be opened leaves opened() false and says why in
    // error().
    explicit RuntimeLibrary(const std::string& name);
    ~RuntimeLibrary();
    RuntimeLibrary(const RuntimeLibrary&) = delete;
    RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;

    bool opened() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }

    // The address of an exported function or datum; null when absent or not opened.
    void* Symbol(const char* name) const;

    // The exported function `name` as the caller's function pointer type; false when absent.
    template <typename Function>
    bool Resolve(const char* name, Function* function) const {
        *function = reinterpret_cast<Function>(Symbol(name));
        return *function != nullptr;
    }

    // Leaves the library loaded for the rest of the process when this object goes, for code
    // that others may still call; Symbol() finds nothing afterwards.
    void KeepLoaded() { handle_ = nullptr; }

  private:
    void* handle_ = nullptr;
    std::string error_;
};

#endif
