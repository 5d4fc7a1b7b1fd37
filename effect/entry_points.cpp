// The library's three exports. Nothing but a PF_Err leaves them: exceptions stop here.
#include <new>

#include "effect/command_dispatch.h"
#include "effect/plugin_identity.h"
#include "host/pf_error.h"
#include "host/pf_plugin_data.h"

using namespace spirovault;

#ifdef _WIN32
#define SPIROVAULT_EXPORT __declspec(dllexport)
#else
#define SPIROVAULT_EXPORT __attribute__((visibility("default")))
#endif

// Asks hybrid-graphics drivers to run CUDA work on the discrete GPU.
extern "C" {
SPIROVAULT_EXPORT int NvOptimusEnablementCuda = 1;
}

extern "C" SPIROVAULT_EXPORT PF_Err PluginDataEntryFunction(PF_PluginDataPtr inPtr,
                                                            PF_PluginDataCB inPluginDataCallBackPtr,
                                                            SPBasicSuite* /*inSPBasicSuitePtr*/,
                                                            const char* /*inHostName*/,
                                                            const char* /*inHostVersion*/) {
    if (inPluginDataCallBackPtr == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return inPluginDataCallBackPtr(inPtr, kEffectName, kEffectMatchName, kEffectCategory,
                                   kEffectEntryPoint, kEffectKind, kEffectApiVersionMajor,
                                   kEffectApiVersionMinor, kRegistrationReservedInfo);
}

extern "C" SPIROVAULT_EXPORT PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                               PF_ParamDef* params[], PF_LayerDef* output,
                                               void* extra) {
    try {
        return DispatchCommand(cmd, in_data, out_data, params, output, extra);
    } catch (const PfError& error) {
        return error.code();
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}
