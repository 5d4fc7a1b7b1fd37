#include "standalone/suites/standalone_suites.h"

void ProvideStandaloneSuites(SuiteRegistry& registry) {
    registry.Provide(kPFANSISuite, kPFANSISuiteVersion1, StandaloneAnsiSuite());
    registry.Provide(kPFHandleSuite, kPFHandleSuiteVersion2, StandaloneHandleSuite());
    registry.Provide(kPFPixelFormatSuite, kPFPixelFormatSuiteVersion1,
                     StandalonePixelFormatSuite());
    registry.Provide(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, StandaloneParamUtilsSuite());
    registry.Provide(kPFAppSuite, kPFAppSuiteVersion6, StandaloneAppSuite());
    registry.Provide(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1,
                     StandaloneCustomUiSuite());
    registry.Provide(kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, StandaloneDrawSuite());
    registry.Provide(kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1,
                     StandaloneSupplierSuite());
    registry.Provide(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2,
                     StandaloneSurfaceSuite());
    registry.Provide(kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1, StandalonePathSuite());
    ProvideCompositionSuites(registry);
}
