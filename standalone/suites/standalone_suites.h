// The suite tables the standalone host implements. Each works on the active HostServices.
#ifndef SPIROVAULT_STANDALONE_SUITES_STANDALONE_SUITES_H
#define SPIROVAULT_STANDALONE_SUITES_STANDALONE_SUITES_H

#include "host/pf_ansi_suite.h"
#include "host/pf_gpu_device_suite.h"
#include "host/pf_handle_suite.h"
#include "host/pf_param_utils_suite.h"
#include "host/pf_pixel_format_suite.h"
#include "standalone/suite_registry.h"

const PF_ANSICallbacksSuite1* StandaloneAnsiSuite();
const PF_HandleSuite1* StandaloneHandleSuite();
const PF_PixelFormatSuite1* StandalonePixelFormatSuite();
const PF_ParamUtilsSuite3* StandaloneParamUtilsSuite();
const PF_GPUDeviceSuite1* StandaloneGpuDeviceSuite();

// Registers every table above under its published name and version.
void ProvideStandaloneSuites(SuiteRegistry& registry);

#endif
