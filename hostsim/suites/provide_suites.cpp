#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

void ProvideStandaloneSuites(SuiteRegistry& registry) {
    registry.Provide(kPFANSISuite, kPFANSISuiteVersion1, StandaloneAnsiSuite());
    registry.Provide(kPFHandleSuite, kPFHandleSuiteVersion1, StandaloneHandleSuite());
    registry.Provide(kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1,
                     StandalonePixelFormatSuite());
    registry.Provide(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, StandaloneParamUtilsSuite());
    registry.Provide(kPFAppSuite, kAppSuiteRequestVersion, StandaloneAppSuite());
    registry.Provide(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1,
                     StandaloneCustomUiSuite());
    registry.Provide(kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, StandaloneDrawSuite());
    registry.Provide(kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1,
                     StandaloneSupplierSuite());
    registry.Provide(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2,
                     StandaloneSurfaceSuite());
    registry.Provide(kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1, StandalonePathSuite());
    registry.Provide(kPFWorldSuite, kPFWorldSuiteVersion2, StandaloneWorldSuite());
    registry.Provide(kPFIterate8Suite, kPFIterate8SuiteVersion2, StandaloneIterate8Suite());
    registry.Provide(kPFIterate16Suite, kPFIterate16SuiteVersion2, StandaloneIterate16Suite());
    registry.Provide(kPFIterateFloatSuite, kPFIterateFloatSuiteVersion2,
                     StandaloneIterateFloatSuite());
    ProvideCompositionSuites(registry);
    registry.Provide(kPFGPUDeviceSuite, kPFGPUDeviceSuiteVersion1, StandaloneGpuDeviceSuite());
    // Premiere Pro's alone; EffectHost::set_appl_id offers it when the host plays Premiere Pro.
    registry.Provide(kPFUtilitySuite, kPFUtilitySuiteVersion4, StandalonePremiereUtilitySuite());
    registry.SetAvailability(kPFUtilitySuite, kPFUtilitySuiteVersion4,
                             SuiteRegistry::Availability::kWithheld);
}

}  // namespace hostsim
