// Registration: the entry point the host calls when it scans plug-ins, and the callback through
// which the plug-in describes itself.
#ifndef SPIROVAULT_HOST_PF_PLUGIN_DATA_H
#define SPIROVAULT_HOST_PF_PLUGIN_DATA_H

#include "host/ae_basic_types.h"
#include "host/pf_commands.h"
#include "host/sp_basic_suite.h"

typedef void* PF_PluginDataPtr;

typedef PF_Err (*PF_PluginDataCB)(PF_PluginDataPtr inPtr, const A_char* inNodeName,
                                  const A_char* inMatchName, const A_char* inCategoryName,
                                  const A_char* inEntryPointName, A_long inType,
                                  A_long inAPIVersionMajor, A_long inAPIVersionMinor,
                                  A_long inReservedInfo);

typedef PF_Err (*PluginDataEntryFunctionPtr)(PF_PluginDataPtr inPtr,
                                             PF_PluginDataCB inPluginDataCallBackPtr,
                                             SPBasicSuite* inSPBasicSuitePtr,
                                             const char* inHostName, const char* inHostVersion);

struct PF_InData;
struct PF_OutData;
struct PF_ParamDef;
struct PF_LayerDef;

typedef PF_Err (*PF_FilterProc)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                PF_ParamDef* params[], PF_LayerDef* output, void* extra);

#endif
