#include "hostsim/plugin_library.h"

#include <stdexcept>

namespace hostsim {

namespace {

PF_Err RecordRegistration(PF_PluginDataPtr inPtr, const A_char* inNodeName,
                          const A_char* inMatchName, const A_char* inCategoryName,
                          const A_char* inEntryPointName, A_long inType, A_long inAPIVersionMajor,
                          A_long inAPIVersionMinor, A_long inReservedInfo) {
    auto* record = static_cast<PluginRegistration*>(inPtr);
    if (record == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    ++record->calls;
    record->host_pointer = inPtr;
    record->name = inNodeName != nullptr ? inNodeName : "";
    record->match_name = inMatchName != nullptr ? inMatchName : "";
    record->category = inCategoryName != nullptr ? inCategoryName : "";
    record->entry_point = inEntryPointName != nullptr ? inEntryPointName : "";
    record->kind = inType;
    record->api_version_major = inAPIVersionMajor;
    record->api_version_minor = inAPIVersionMinor;
    record->reserved_info = inReservedInfo;
    return PF_Err_NONE;
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) : library_(path) {
    if (!library_.opened()) throw std::runtime_error("cannot load plug-in " + library_.error());
    effect_main_ = reinterpret_cast<PF_FilterProc>(library_.Symbol("EffectMain"));
    entry_ =
        reinterpret_cast<PluginDataEntryFunctionPtr>(library_.Symbol("PluginDataEntryFunction"));
    optimus_flag_ = static_cast<const int*>(library_.Symbol("NvOptimusEnablementCuda"));
    if (effect_main_ == nullptr || entry_ == nullptr) {
        throw std::runtime_error("plug-in " + path + " lacks its entry points");
    }
}

PF_Err PluginLibrary::Register(SPBasicSuite* basic, PluginRegistration* registration) const {
    return entry_(registration, RecordRegistration, basic, "Standalone", "1.0");
}

}  // namespace hostsim
