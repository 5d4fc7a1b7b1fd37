// The general-plug-in suites through which an effect finds its layer, composition, camera and
// lights. They answer from the active instance's composition model.
#include "host/aegp_suites.h"
#include "hostsim/composition/composition_handles.h"
#include "hostsim/composition/layer_streams.h"
#include "hostsim/composition/layer_transform.h"
#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

CompositionHandles* Handles() {
    HostServices* services = HostServices::Active();
    return services != nullptr ? &services->comp_handles() : nullptr;
}

// The layer a reference names in the active composition, or null.
const CompLayer* FindLayer(AEGP_LayerH layer) {
    CompositionHandles* handles = Handles();
    return handles != nullptr ? handles->Find(layer) : nullptr;
}

double Seconds(const A_Time* time) {
    return time != nullptr && time->scale != 0 ? static_cast<double>(time->value) / time->scale
                                               : 0.0;
}

// --- AEGP PF Interface Suite ---------------------------------------------------------------

A_Err GetEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layer) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr || layer == nullptr) return A_Err_PARAMETER;
    *layer = services->comp_handles().EffectLayer();
    return *layer != nullptr ? A_Err_NONE : A_Err_GENERIC;
}

A_Err ConvertEffectToCompTime(PF_ProgPtr effect_ref, A_long what_time, A_u_long time_scale,
                              A_Time* comp_time) {
    // The effect's layer starts at the composition's start, so layer time is comp time.
    if (HostServices::FromEffectRef(effect_ref) == nullptr || comp_time == nullptr)
        return A_Err_PARAMETER;
    *comp_time = A_Time{what_time, time_scale};
    return A_Err_NONE;
}

// The active camera is the topmost camera layer that is switched on.
A_Err GetEffectCamera(PF_ProgPtr effect_ref, const A_Time*, AEGP_LayerH* camera) {
    HostServices* services = HostServices::FromEffectRef(effect_ref);
    if (services == nullptr || camera == nullptr) return A_Err_PARAMETER;
    *camera = nullptr;
    CompositionHandles& handles = services->comp_handles();
    for (A_long i = 0; i < handles.LayerCount(); ++i) {
        const CompLayer* layer = handles.Find(handles.LayerAt(i));
        if (layer->kind == LayerKind::kCamera && layer->video_active) {
            *camera = handles.LayerAt(i);
            break;
        }
    }
    return A_Err_NONE;
}

const AEGP_PFInterfaceSuite1 kPFInterfaceSuite = {GetEffectLayer, nullptr, ConvertEffectToCompTime,
                                                  GetEffectCamera, nullptr};

// --- AEGP Layer Suite ----------------------------------------------------------------------

A_Err GetCompNumLayers(AEGP_CompH comp, A_long* count) {
    CompositionHandles* handles = Handles();
    if (handles == nullptr || !handles->IsComp(comp) || count == nullptr) return A_Err_PARAMETER;
    *count = handles->LayerCount();
    return A_Err_NONE;
}

A_Err GetCompLayerByIndex(AEGP_CompH comp, A_long index, AEGP_LayerH* layer) {
    CompositionHandles* handles = Handles();
    if (handles == nullptr || !handles->IsComp(comp) || layer == nullptr) return A_Err_PARAMETER;
    *layer = handles->LayerAt(index);
    return *layer != nullptr ? A_Err_NONE : A_Err_PARAMETER;
}

A_Err GetLayerParentComp(AEGP_LayerH layer, AEGP_CompH* comp) {
    CompositionHandles* handles = Handles();
    if (handles == nullptr || handles->Find(layer) == nullptr || comp == nullptr)
        return A_Err_PARAMETER;
    *comp = handles->comp();
    return A_Err_NONE;
}

A_Err GetLayerFlags(AEGP_LayerH layer, AEGP_LayerFlags* flags) {
    const CompLayer* found = FindLayer(layer);
    if (found == nullptr || flags == nullptr) return A_Err_PARAMETER;
    *flags = found->video_active ? AEGP_LayerFlag_VIDEO_ACTIVE : AEGP_LayerFlag_NONE;
    return A_Err_NONE;
}

A_Err GetLayerObjectType(AEGP_LayerH layer, AEGP_ObjectType* type) {
    const CompLayer* found = FindLayer(layer);
    if (found == nullptr || type == nullptr) return A_Err_PARAMETER;
    switch (found->kind) {
        case LayerKind::kCamera:
            *type = AEGP_ObjectType_CAMERA;
            break;
        case LayerKind::kLight:
            *type = AEGP_ObjectType_LIGHT;
            break;
        default:
            *type = AEGP_ObjectType_AV;
    }
    return A_Err_NONE;
}

A_Err GetLayerToWorldXform(AEGP_LayerH layer, const A_Time* comp_time, A_Matrix4* transform) {
    const CompLayer* found = FindLayer(layer);
    if (found == nullptr || transform == nullptr || found->transform_unreadable)
        return A_Err_GENERIC;
    *transform = LayerToWorld(*found, Seconds(comp_time));
    return A_Err_NONE;
}

AEGP_LayerSuite8 MakeLayerSuite() {
    AEGP_LayerSuite8 suite{};
    suite.AEGP_GetCompNumLayers = GetCompNumLayers;
    suite.AEGP_GetCompLayerByIndex = GetCompLayerByIndex;
    suite.AEGP_GetLayerParentComp = GetLayerParentComp;
    suite.AEGP_GetLayerFlags = GetLayerFlags;
    suite.AEGP_GetLayerObjectType = GetLayerObjectType;
    suite.AEGP_GetLayerToWorldXform = GetLayerToWorldXform;
    return suite;
}
const AEGP_LayerSuite8 kLayerSuite = MakeLayerSuite();

// --- AEGP Comp Suite and AEGP Item Suite ---------------------------------------------------

A_Err GetItemFromComp(AEGP_CompH comp, AEGP_ItemH* item) {
    CompositionHandles* handles = Handles();
    if (handles == nullptr || !handles->IsComp(comp) || item == nullptr) return A_Err_PARAMETER;
    *item = handles->item();
    return A_Err_NONE;
}

A_Err GetItemDimensions(AEGP_ItemH item, A_long* width, A_long* height) {
    CompositionHandles* handles = Handles();
    if (handles == nullptr || !handles->IsItem(item) || width == nullptr || height == nullptr)
        return A_Err_PARAMETER;
    *width = handles->composition().width;
    *height = handles->composition().height;
    return A_Err_NONE;
}

AEGP_CompSuite10 MakeCompSuite() {
    AEGP_CompSuite10 suite{};
    suite.AEGP_GetItemFromComp = GetItemFromComp;
    return suite;
}
const AEGP_CompSuite10 kCompSuite = MakeCompSuite();

AEGP_ItemSuite8 MakeItemSuite() {
    AEGP_ItemSuite8 suite{};
    suite.AEGP_GetItemDimensions = GetItemDimensions;
    return suite;
}
const AEGP_ItemSuite8 kItemSuite = MakeItemSuite();

// --- AEGP Light Suite ----------------------------------------------------------------------

A_Err GetLightType(AEGP_LayerH layer, AEGP_LightType* type) {
    const CompLayer* found = FindLayer(layer);
    if (found == nullptr || type == nullptr || found->kind != LayerKind::kLight)
        return A_Err_PARAMETER;
    *type = found->light_type;
    return A_Err_NONE;
}

const AEGP_LightSuite2 kLightSuite = {GetLightType, nullptr};

// --- AEGP Utility Suite --------------------------------------------------------------------

A_Err RegisterWithAEGP(AEGP_GlobalRefcon, const A_char* name, AEGP_PluginID* id) {
    CompositionHandles* handles = Handles();
    if (handles == nullptr || name == nullptr || id == nullptr) return A_Err_PARAMETER;
    *id = handles->Register(name);
    return A_Err_NONE;
}

AEGP_UtilitySuite5 MakeUtilitySuite() {
    AEGP_UtilitySuite5 suite{};
    suite.AEGP_RegisterWithAEGP = RegisterWithAEGP;
    return suite;
}
const AEGP_UtilitySuite5 kUtilitySuite = MakeUtilitySuite();

// --- AEGP Stream Suite ---------------------------------------------------------------------

A_Err GetNewLayerStream(AEGP_PluginID, AEGP_LayerH layer, AEGP_LayerStream which,
                        AEGP_StreamRefH* stream) {
    const CompLayer* found = FindLayer(layer);
    if (found == nullptr || stream == nullptr) return A_Err_PARAMETER;
    if (!LayerHasStream(*found, which)) return A_Err_PARAMETER;
    *stream = Handles()->OpenStream(layer, which, HostServices::ActiveFrame());
    return A_Err_NONE;
}

A_Err DisposeStream(AEGP_StreamRefH stream) {
    CompositionHandles* handles = Handles();
    return handles != nullptr && handles->CloseStream(stream) ? A_Err_NONE : A_Err_PARAMETER;
}

A_Err GetNewStreamValue(AEGP_PluginID, AEGP_StreamRefH stream, AEGP_LTimeMode, const A_Time* time,
                        A_Boolean pre_expression, AEGP_StreamValue2* value) {
    CompositionHandles* handles = Handles();
    const CompLayer* layer = nullptr;
    AEGP_LayerStream which = 0;
    if (handles == nullptr || value == nullptr || !handles->Lookup(stream, &layer, &which))
        return A_Err_PARAMETER;
    if (layer->unreadable_values.count(which) != 0) return A_Err_GENERIC;
    const double seconds = Seconds(time);
    *value = AEGP_StreamValue2{};
    value->streamH = stream;
    if (which == AEGP_LayerStream_COLOR) {
        const ColorRgb color = layer->color.At(seconds);
        value->val.color = AEGP_ColorVal{1.0, color.red, color.green, color.blue};
    } else {
        value->val.one_d =
            LayerStreamValue(handles->composition(), *layer, which, seconds, pre_expression != 0);
    }
    handles->ValueHandedOut(HostServices::ActiveFrame());
    return A_Err_NONE;
}

A_Err DisposeStreamValue(AEGP_StreamValue2* value) {
    CompositionHandles* handles = Handles();
    return handles != nullptr && value != nullptr &&
                   handles->ValueDisposed(HostServices::ActiveFrame())
               ? A_Err_NONE
               : A_Err_PARAMETER;
}

AEGP_StreamSuite2 MakeStreamSuite() {
    AEGP_StreamSuite2 suite{};
    suite.AEGP_GetNewLayerStream = GetNewLayerStream;
    suite.AEGP_DisposeStream = DisposeStream;
    suite.AEGP_GetNewStreamValue = GetNewStreamValue;
    suite.AEGP_DisposeStreamValue = DisposeStreamValue;
    return suite;
}
const AEGP_StreamSuite2 kStreamSuite = MakeStreamSuite();

}  // namespace

void ProvideCompositionSuites(SuiteRegistry& registry) {
    registry.Provide(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &kPFInterfaceSuite);
    registry.Provide(kAEGPLayerSuite, kAEGPLayerSuiteVersion8, &kLayerSuite);
    registry.Provide(kAEGPCompSuite, kAEGPCompSuiteVersion10, &kCompSuite);
    registry.Provide(kAEGPItemSuite, kAEGPItemSuiteVersion8, &kItemSuite);
    registry.Provide(kAEGPLightSuite, kAEGPLightSuiteVersion2, &kLightSuite);
    registry.Provide(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, &kUtilitySuite);
    registry.Provide(kAEGPStreamSuite, kAEGPStreamSuiteVersion2, &kStreamSuite);
}

}  // namespace hostsim
