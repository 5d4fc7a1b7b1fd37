// The suite tables the standalone host implements. Each works on the active HostServices.
#ifndef SPIROVAULT_HOSTSIM_SUITES_STANDALONE_SUITES_H
#define SPIROVAULT_HOSTSIM_SUITES_STANDALONE_SUITES_H

#include "host/drawbot_suites.h"
#include "host/pf_ansi_suite.h"
#include "host/pf_app_suites.h"
#include "host/pf_gpu_device_suite.h"
#include "host/pf_handle_suite.h"
#include "host/pf_iterate_suites.h"
#include "host/pf_param_utils_suite.h"
#include "host/pf_pixel_format_suite.h"
#include "host/pf_utility_suite.h"
#include "host/pf_world_suite.h"
#include "hostsim/suite_registry.h"

namespace hostsim {

const PF_ANSICallbacksSuite1* StandaloneAnsiSuite();
const PF_HandleSuite1* StandaloneHandleSuite();
const PF_PixelFormatSuite1* StandalonePixelFormatSuite();
const PF_UtilitySuite4* StandalonePremiereUtilitySuite();
const PF_ParamUtilsSuite3* StandaloneParamUtilsSuite();
const PF_GPUDeviceSuite1* StandaloneGpuDeviceSuite();
const PFAppSuite4* StandaloneAppSuite();
const PF_EffectCustomUISuite1* StandaloneCustomUiSuite();
const DRAWBOT_DrawbotSuite1* StandaloneDrawSuite();
const DRAWBOT_SupplierSuite1* StandaloneSupplierSuite();
const DRAWBOT_SurfaceSuite2* StandaloneSurfaceSuite();
const DRAWBOT_PathSuite1* StandalonePathSuite();
const PF_WorldSuite2* StandaloneWorldSuite();
const PF_Iterate8Suite2* StandaloneIterate8Suite();
// As a host that predates iterate_generic hands the suite out.
const PF_Iterate8Suite2* StandaloneIterate8SuiteWithoutGeneric();
const PF_Iterate16Suite2* StandaloneIterate16Suite();
const PF_IterateFloatSuite2* StandaloneIterateFloatSuite();

// The general-plug-in suites over the instance's composition.
void ProvideCompositionSuites(SuiteRegistry& registry);

// Registers every table above under its published name and version.
void ProvideStandaloneSuites(SuiteRegistry& registry);

}  // namespace hostsim

#endif
