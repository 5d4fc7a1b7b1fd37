#include "drivers/cpu_iterate.h"

#include "drivers/cpu_pixel_callbacks.h"
#include "host/pf_iterate_suites.h"
#include "host/scoped_suite.h"

namespace {

// Holds the suite for the one call only.
template <typename Suite, typename PixelFn>
PF_Err IterateWith(const char* name, int32_t version, PixelFn pixel_fn, PF_InData* in_data,
                   PF_OutData* out_data, PF_EffectWorld* input, PF_EffectWorld* output,
                   RenderSettings* record) {
    const ScopedSuite<Suite> suite(in_data->pica_basicP, name, version, out_data);
    CpuFrame frame = MakeCpuFrame(record);
    return suite->iterate(in_data, 0, output->height, input, nullptr, &frame, pixel_fn, output);
}

}  // namespace

PF_Err IterateOutput(PF_InData* in_data, PF_OutData* out_data, PF_PixelFormat format,
                     PF_EffectWorld* input, PF_EffectWorld* output, RenderSettings* record) {
    switch (format) {
        case PF_PixelFormat_ARGB128:
            return IterateWith<PF_IterateFloatSuite2>(
                kPFIterateFloatSuite, kPFIterateFloatSuiteVersion2, RenderPixelFloat, in_data,
                out_data, input, output, record);
        case PF_PixelFormat_ARGB64:
            return IterateWith<PF_Iterate16Suite2>(kPFIterate16Suite, kPFIterate16SuiteVersion2,
                                                   RenderPixel16, in_data, out_data, input, output,
                                                   record);
        case PF_PixelFormat_ARGB32:
            return IterateWith<PF_Iterate8Suite2>(kPFIterate8Suite, kPFIterate8SuiteVersion2,
                                                  RenderPixel8, in_data, out_data, input, output,
                                                  record);
        default:
            return PF_Err_BAD_CALLBACK_PARAM;
    }
}
