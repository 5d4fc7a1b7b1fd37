#include "standalone/suites/standalone_suites.h"

void ProvideStandaloneSuites(SuiteRegistry& registry) {
    registry.Provide(kPFANSISuite, kPFANSISuiteVersion1, StandaloneAnsiSuite());
    registry.Provide(kPFHandleSuite, kPFHandleSuiteVersion2, StandaloneHandleSuite());
    registry.Provide(kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1,
                     StandalonePixelFormatSuite());
    registry.Provide(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, StandaloneParamUtilsSuite());
    registry.Provide(kPFWorldSuite, kPFWorldSuiteVersion2, StandaloneWorldSuite());
    registry.Provide(kPFIterate8Suite, kPFIterate8SuiteVersion2, StandaloneIterate8Suite());
    registry.Provide(kPFIterate16Suite, kPFIterate16SuiteVersion2, StandaloneIterate16Suite());
    registry.Provide(kPFIterateFloatSuite, kPFIterateFloatSuiteVersion2,
                     StandaloneIterateFloatSuite());
    ProvideCompositionSuites(registry);
    registry.Provide(kPFGPUDeviceSuite, kPFGPUDeviceSuiteVersion1, StandaloneGpuDeviceSuite());
}
