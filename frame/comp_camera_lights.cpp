#include "frame/comp_camera_lights.h"

#include <algorithm>
#include <cmath>

#include "frame/comp_camera.h"
#include "frame/plugin_registration.h"
#include "frame/stream_value.h"
#include "host/aegp_suites.h"
#include "host/suite_handler.h"

namespace spirovault {

namespace {

// Depth distances of an effect without a layer: about the scale of a comp 1080 pixels high.
constexpr float kNoLayerDepthScale = 0.002684f;
constexpr float kFallbackFocusDistance = 3.5f;

struct CompFrame {
    float width = 1, height = 1;
    float scale = 1;  // fractal units per comp pixel
};

// Composition coordinates (x right, y down, z into the screen) to fractal space (z up).
void MapPoint(const CompFrame& comp, const A_Matrix4& m, float out[3]) {
    out[0] = static_cast<float>((m.mat[3][0] - comp.width / 2) * comp.scale);
    out[1] = static_cast<float>(m.mat[3][2] * comp.scale);
    out[2] = static_cast<float>(-(m.mat[3][1] - comp.height / 2) * comp.scale);
}

void Normalise(float x, float y, float z, float out[3]) {
    const float length = std::max(std::sqrt(x * x + y * y + z * z), 1e-12f);
    out[0] = x / length;
    out[1] = y / length;
    out[2] = z / length;
}

void StoreCameraAxes(const CompFrame& comp, const A_Matrix4& m, RenderSettings* record) {
    auto f = [&](int row, int column) { return static_cast<float>(m.mat[row][column]); };
    MapPoint(comp, m, record->camera_position);
    Normalise(f(0, 0), f(0, 2), -f(0, 1), record->camera_right);
    // The comp's y axis points down; the camera's up is its negation.
    Normalise(-f(1, 0), -f(1, 2), f(1, 1), record->camera_up);
    Normalise(f(2, 0), f(2, 2), -f(2, 1), record->camera_forward);
}

void ReadCameraLens(const AEGP_StreamSuite2* streams, AEGP_PluginID id, AEGP_LayerH camera,
                    const A_Time& time, const CompFrame& comp, double zoom,
                    RenderSettings* record) {
    auto read = [&](AEGP_LayerStream stream, double fallback) {
        return ReadStreamValue(streams, id, camera, stream, time, fallback);
    };
    const double depth_of_field = read(AEGP_LayerStream_DEPTH_OF_FIELD, 0.0);
    const double focus_distance = read(AEGP_LayerStream_FOCUS_DISTANCE, zoom);
    const double aperture = read(AEGP_LayerStream_APERTURE, 0.0);
    const double blur_level = read(AEGP_LayerStream_BLUR_LEVEL, 100.0);
    const double gain = read(AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN, 0.0);
    const double threshold = read(AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD, 255.0);
    const double saturation = read(AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION, 0.0);

    record->camera_dof = depth_of_field > 0.5 ? 1 : 0;
    record->focus_distance = static_cast<float>(comp.scale * focus_distance);
    record->lens_radius = static_cast<float>((blur_level / 100.0) * (aperture * 0.5) * comp.scale);
    record->highlight_gain = static_cast<float>(gain / 100.0);
    record->highlight_threshold = static_cast<float>(threshold / 10.0);
    record->highlight_saturation = static_cast<float>(saturation / 100.0);
}

void ReadCamera(const AEGP_LayerSuite8* layers, const AEGP_StreamSuite2* streams, AEGP_PluginID id,
                AEGP_LayerH camera, const A_Time& time, const CompFrame& comp,
                RenderSettings* record) {
    if (camera == nullptr) {
        SetDefaultCompCamera(comp.width, comp.height, comp.scale, record);
        return;
    }
    const double zoom =
        std::max(ReadStreamValue(streams, id, camera, AEGP_LayerStream_ZOOM, time, 1000.0), 0.001);
    record->tan_half_fov = static_cast<float>((comp.height * 0.5) / zoom);
    A_Matrix4 m{};
    if (layers->AEGP_GetLayerToWorldXform(camera, &time, &m) == A_Err_NONE)
        StoreCameraAxes(comp, m, record);
    else
        SetFallbackCamera(record);
    ReadCameraLens(streams, id, camera, time, comp, zoom, record);
}

bool IsSwitchedOnPointLight(const AEGP_LayerSuite8* layers, const AEGP_LightSuite2* lights,
                            AEGP_LayerH layer) {
    AEGP_LayerFlags flags = 0;
    AEGP_ObjectType type = AEGP_ObjectType_NONE;
    AEGP_LightType light_type = AEGP_LightType_NONE;
    if (layers->AEGP_GetLayerFlags(layer, &flags) != A_Err_NONE ||
        (flags & AEGP_LayerFlag_VIDEO_ACTIVE) == 0)
        return false;
    if (layers->AEGP_GetLayerObjectType(layer, &type) != A_Err_NONE ||
        type != AEGP_ObjectType_LIGHT)
        return false;
    return lights->AEGP_GetLightType(layer, &light_type) == A_Err_NONE &&
           light_type == AEGP_LightType_POINT;
}

void ReadLight(const AEGP_StreamSuite2* streams, AEGP_PluginID id, AEGP_LayerH layer,
               const A_Time& time, const CompFrame& comp, const A_Matrix4& m, CompLight* light) {
    auto read = [&](AEGP_LayerStream stream, double fallback) {
        return ReadStreamValue(streams, id, layer, stream, time, fallback);
    };
    MapPoint(comp, m, light->position);
    light->intensity = static_cast<float>(read(AEGP_LayerStream_INTENSITY, 100.0) / 100.0);
    double rgb[3] = {1.0, 1.0, 1.0};
    ReadStreamColor(streams, id, layer, AEGP_LayerStream_COLOR, time, rgb);
    for (int c = 0; c < 3; ++c) light->color[c] = static_cast<float>(rgb[c]);
    light->casts_shadows = read(AEGP_LayerStream_CASTS_SHADOWS, 0.0) > 0.5 ? 1 : 0;
    light->shadow_darkness =
        static_cast<float>(read(AEGP_LayerStream_SHADOW_DARKNESS, 100.0) / 100.0);
    light->shadow_diffusion =
        static_cast<float>(comp.scale * read(AEGP_LayerStream_SHADOW_DIFFUSION, 0.0));
}

// The first eight switched-on point lights from the top of the layer stack.
void ReadLights(const AEGP_LayerSuite8* layers, const AEGP_LightSuite2* lights,
                const AEGP_StreamSuite2* streams, AEGP_PluginID id, AEGP_CompH comp_handle,
                const A_Time& time, const CompFrame& comp, RenderSettings* record) {
    record->comp_light_count = 0;
    A_long count = 0;
    layers->AEGP_GetCompNumLayers(comp_handle, &count);
    for (A_long i = 0; i < count && record->comp_light_count < kMaxCompLights; ++i) {
        AEGP_LayerH layer = nullptr;
        if (layers->AEGP_GetCompLayerByIndex(comp_handle, i, &layer) != A_Err_NONE) continue;
        if (!IsSwitchedOnPointLight(layers, lights, layer)) continue;
        A_Matrix4 m{};
        if (layers->AEGP_GetLayerToWorldXform(layer, &time, &m) != A_Err_NONE) continue;
        ReadLight(streams, id, layer, time, comp, m,
                  &record->comp_lights[record->comp_light_count]);
        ++record->comp_light_count;
    }
}

void UseNoLayerCamera(RenderSettings* record) {
    SetFallbackCamera(record);
    record->depth_start *= kNoLayerDepthScale;
    record->depth_end *= kNoLayerDepthScale;
    SetPinholeLens(kFallbackFocusDistance, record);
}

}  // namespace

PF_Err ReadCompCameraAndLights(PF_InData* in_data, PF_OutData* /*out_data*/,
                               RenderSettings* record) {
    SuiteHandler suites(in_data->pica_basicP);
    const auto* effect =
        suites.Find<AEGP_PFInterfaceSuite1>(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1);
    const auto* layers = suites.Find<AEGP_LayerSuite8>(kAEGPLayerSuite, kAEGPLayerSuiteVersion8);
    const auto* comps = suites.Find<AEGP_CompSuite10>(kAEGPCompSuite, kAEGPCompSuiteVersion10);
    const auto* items = suites.Find<AEGP_ItemSuite8>(kAEGPItemSuite, kAEGPItemSuiteVersion8);
    const auto* streams =
        suites.Find<AEGP_StreamSuite2>(kAEGPStreamSuite, kAEGPStreamSuiteVersion2);
    const auto* lights = suites.Find<AEGP_LightSuite2>(kAEGPLightSuite, kAEGPLightSuiteVersion2);
    AEGP_PluginID id = 0;
    // Hosts without the plug-in layer (and an effect that could not register) see no
    // composition: the frame stands in for it, as under Premiere Pro.
    if (effect == nullptr || layers == nullptr || comps == nullptr || items == nullptr ||
        streams == nullptr || lights == nullptr || !RegisteredPluginId(in_data, &id)) {
        UseFrameAsComposition(static_cast<float>(std::max<A_long>(in_data->width, 1)),
                              static_cast<float>(std::max<A_long>(in_data->height, 1)), record);
        return PF_Err_NONE;
    }

    A_Time time{};
    AEGP_LayerH effect_layer = nullptr;
    if (effect->AEGP_ConvertEffectToCompTime(in_data->effect_ref, in_data->current_time,
                                             in_data->time_scale, &time) != A_Err_NONE ||
        effect->AEGP_GetEffectLayer(in_data->effect_ref, &effect_layer) != A_Err_NONE ||
        effect_layer == nullptr) {
        UseNoLayerCamera(record);
        return PF_Err_NONE;
    }

    AEGP_CompH comp_handle = nullptr;
    layers->AEGP_GetLayerParentComp(effect_layer, &comp_handle);
    A_long width = 1, height = 1;
    AEGP_ItemH item = nullptr;
    comps->AEGP_GetItemFromComp(comp_handle, &item);
    if (item != nullptr) items->AEGP_GetItemDimensions(item, &width, &height);

    CompFrame comp;
    comp.width = static_cast<float>(width);
    comp.height = static_cast<float>(height);
    comp.scale = CompScale(comp.height);
    record->depth_start *= comp.scale;
    record->depth_end *= comp.scale;

    AEGP_LayerH camera = nullptr;
    effect->AEGP_GetEffectCamera(in_data->effect_ref, &time, &camera);

    ReadCamera(layers, streams, id, camera, time, comp, record);
    ReadLights(layers, lights, streams, id, comp_handle, time, comp, record);
    return PF_Err_NONE;
}

}  // namespace spirovault
