#include "frame/premiere_render.h"

#include <cstdint>
#include <cstdlib>

#include "device/cpu/cpu_pixel_callbacks.h"
#include "device/cpu/vuya_pixel.h"
#include "frame/comp_camera.h"
#include "frame/environment_image.h"
#include "frame/frame_layout.h"
#include "frame/hdri_layer_checkout.h"
#include "frame/render_settings_block.h"
#include "host/pf_iterate_suites.h"
#include "host/pf_pixel_format_suite.h"
#include "host/scoped_suite.h"
#include "params/param_table.h"
#include "params/resolve_params.h"

namespace spirovault {

namespace {

bool HasPixels(const PF_LayerDef* world) {
    if (world == nullptr || world->data == nullptr || world->width <= 0 || world->height <= 0) {
        return false;
    }
    // Rows may run bottom-up (negative rowbytes); either way a row must hold the width.
    const int64_t row = std::llabs(static_cast<int64_t>(world->rowbytes));
    return row >= static_cast<int64_t>(world->width) * static_cast<int64_t>(sizeof(VuyaPixel));
}

bool IsVuyaFloat(const PF_PixelFormatSuite1* formats, PF_LayerDef* world) {
    PrPixelFormat format = 0;
    return formats->GetPixelFormat(world, &format) == PF_Err_NONE &&
           format == PrPixelFormat_VUYA_4444_32f;
}

// The environment in the record; a layer in a format the effect cannot read means none, a
// failed check-out is the frame's error.
PF_Err LoadEnvironment(const PF_PixelFormatSuite1* formats, HdriLayerCheckout* hdri,
                       RenderSettings* record) {
    ClearEnvironment(record);
    PF_LayerDef* layer = nullptr;
    const PF_Err err = hdri->CheckOut(&layer);
    PrPixelFormat format = 0;
    if (err != PF_Err_NONE || layer == nullptr ||
        formats->GetPixelFormat(layer, &format) != PF_Err_NONE) {
        return err;
    }
    StoreEnvironmentImage(*layer, static_cast<PF_PixelFormat>(format), record);
    return PF_Err_NONE;
}

}  // namespace

PF_Err PremiereRender(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                      PF_LayerDef* output) {
    if (params == nullptr || !HasPixels(output) || in_data->inter.checkout_param == nullptr ||
        in_data->inter.checkin_param == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const ScopedSuite<PF_PixelFormatSuite1> formats(in_data->pica_basicP, kPFPixelFormatSuite,
                                                    kPFPixelFormatSuiteVersion1, out_data);
    if (!IsVuyaFloat(formats.get(), output)) return PF_Err_BAD_CALLBACK_PARAM;
    // The input renders only where its pixels are the output's format.
    PF_LayerDef* input = params[kParamInput] != nullptr ? &params[kParamInput]->u.ld : nullptr;
    if (!HasPixels(input) || !IsVuyaFloat(formats.get(), input)) input = nullptr;

    RenderSettingsBlock record = AllocateRenderSettings();
    if (record == nullptr) return PF_Err_OUT_OF_MEMORY;
    ResolveParams(record.get(), in_data, params);
    // The frame stands in for the composition; the host's frame size is the full-resolution one.
    const bool sized = in_data->width > 0 && in_data->height > 0;
    UseFrameAsComposition(static_cast<float>(sized ? in_data->width : output->width),
                          static_cast<float>(sized ? in_data->height : output->height),
                          record.get());

    HdriLayerCheckout hdri(in_data);
    PF_Err err = LoadEnvironment(formats.get(), &hdri, record.get());
    if (err != PF_Err_NONE) return hdri.CheckIn(err);
    // Written before iterating: the pixel function only reads the record. Premiere Pro renders
    // interlaced frames one field at a time.
    StoreFrameLayout(*in_data, *output, true, record.get());
    const CpuFrame frame = MakeCpuFrame(record.get());
    {
        const ScopedSuite<PF_IterateFloatSuite2> iterate(in_data->pica_basicP, kPFIterateFloatSuite,
                                                         kPFIterateFloatSuiteVersion2, out_data);
        err = iterate->iterate(in_data, 0, output->height, input, nullptr,
                               const_cast<CpuFrame*>(&frame), RenderPixelVuya, output);
    }
    return hdri.CheckIn(err);
}

}  // namespace spirovault
