// The effect's registration with the host's plug-in layer, made once at global setup and kept in
// the effect's global data, which the host hands back with every command. Renders only read it,
// so frames on several threads share it without a lock of ours.
#ifndef SPIROVAULT_FRAME_PLUGIN_REGISTRATION_H
#define SPIROVAULT_FRAME_PLUGIN_REGISTRATION_H

#include "host/aegp_types.h"
#include "host/pf_in_out_data.h"

namespace spirovault {

// Registers where the host has the plug-in layer and stores the id in a new global data handle
// (out_data->global_data). A host without the plug-in layer, or without memory for the handle,
// leaves the effect unregistered: frames then render without the composition's camera and lights.
void RegisterWithPluginLayer(PF_InData* in_data, PF_OutData* out_data);

// The id from global setup; false when the effect is not registered.
bool RegisteredPluginId(PF_InData* in_data, AEGP_PluginID* id);

// At global setdown: disposes of the global data.
void DisposeRegistration(PF_InData* in_data, PF_OutData* out_data);

}  // namespace spirovault

#endif
