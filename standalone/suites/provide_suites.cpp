#include "standalone/suites/standalone_suites.h"

void ProvideStandaloneSuites(SuiteRegistry& registry) {
    registry.Provide(kPFANSISuite, kPFANSISuiteVersion1, StandaloneAnsiSuite());
    registry.Provide(kPFHandleSuite, kPFHandleSuiteVersion2, StandaloneHandleSuite());
    registry.Provide(kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1,
                     StandalonePixelFormatSuite());
    registry.Provide(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, StandaloneParamUtilsSuite());
    registry.Provide(kPFGPUDeviceSuite, kPFGPUDeviceSuiteVersion1, StandaloneGpuDeviceSuite());
}
