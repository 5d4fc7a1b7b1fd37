// Loads the plug-in library, resolves its exports and runs its registration.
#ifndef SPIROVAULT_HOSTSIM_PLUGIN_LIBRARY_H
#define SPIROVAULT_HOSTSIM_PLUGIN_LIBRARY_H

#include <string>

#include "host/pf_plugin_data.h"
#include "platform/runtime_library.h"

namespace hostsim {

// What the plug-in told the registration callback.
struct PluginRegistration {
    int calls = 0;
    PF_PluginDataPtr host_pointer = nullptr;
    std::string name;
    std::string match_name;
    std::string category;
    std::string entry_point;
    A_long kind = 0;
    A_long api_version_major = 0;
    A_long api_version_minor = 0;
    A_long reserved_info = 0;
};

class PluginLibrary {
  public:
    // Throws std::runtime_error naming the library when it cannot be loaded or lacks an export.
    explicit PluginLibrary(const std::string& path);
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    PF_FilterProc effect_main() const { return effect_main_; }
    const int* optimus_flag() const { return optimus_flag_; }

    // Calls PluginDataEntryFunction the way the host does when it scans plug-ins.
    PF_Err Register(SPBasicSuite* basic, PluginRegistration* registration) const;

  private:
    RuntimeLibrary library_;
    PF_FilterProc effect_main_ = nullptr;
    PluginDataEntryFunctionPtr entry_ = nullptr;
    const int* optimus_flag_ = nullptr;
};

}  // namespace hostsim

#endif
