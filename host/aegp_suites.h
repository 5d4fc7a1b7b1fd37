// The general-plug-in suites through which the effect reads its composition, camera and lights.
// Entries the effect never calls keep their place as untyped slots.
#ifndef SPIROVAULT_HOST_AEGP_SUITES_H
#define SPIROVAULT_HOST_AEGP_SUITES_H

#include "host/aegp_types.h"

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1
#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion14 14
#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion21 21
#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion13 13
#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion11 11
#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7
#define kAEGPLightSuite "AEGP Light Suite"
#define kAEGPLightSuiteVersion2 2

typedef struct AEGP_PFInterfaceSuite1 {
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ref,
                                        AEGP_EffectRefH* effectPH);
    A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_ref, A_long what_time,
                                          A_u_long time_scale, A_Time* comp_timePT);
    A_Err (*AEGP_GetEffectCamera)(PF_ProgPtr effect_ref, const A_Time* comp_timePT,
                                  AEGP_LayerH* camera_layerPH);
    A_Err (*AEGP_GetEffectCameraMatrix)(PF_ProgPtr effect_ref, const A_Time* comp_timePT,
                                        A_Matrix4* camera_matrixP, A_FpLong* dist_to_planePF,
                                        A_short* plane_widthPL, A_short* plane_heightPL);
} AEGP_PFInterfaceSuite1;

typedef struct AEGP_LayerSuite14 {
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL, AEGP_LayerH* layerPH);
    void* AEGP_GetActiveLayer;
    void* AEGP_GetLayerIndex;
    void* AEGP_GetLayerSourceItem;
    void* AEGP_GetLayerSourceItemID;
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    void* AEGP_GetLayerName;
    void* AEGP_GetLayerQuality;
    void* AEGP_SetLayerQuality;
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    void* AEGP_SetLayerFlag;
    void* AEGP_IsLayerVideoReallyOn;
    void* AEGP_IsLayerAudioReallyOn;
    void* AEGP_GetLayerCurrentTime;
    void* AEGP_GetLayerInPoint;
    void* AEGP_GetLayerDuration;
    void* AEGP_SetLayerInPointAndDuration;
    void* AEGP_GetLayerOffset;
    void* AEGP_SetLayerOffset;
    void* AEGP_GetLayerStretch;
    void* AEGP_SetLayerStretch;
    void* AEGP_GetLayerTransferMode;
    void* AEGP_SetLayerTransferMode;
    void* AEGP_IsAddLayerValid;
    void* AEGP_AddLayer;
    void* AEGP_ReorderLayer;
    void* AEGP_GetLayerMaskedBounds;
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    void* AEGP_IsLayer3D;
    void* AEGP_IsLayer2D;
    void* AEGP_IsVideoActive;
    void* AEGP_IsLayerUsedAsTrackMatte;
    void* AEGP_DoesLayerHaveTrackMatte;
    void* AEGP_ConvertCompToLayerTime;
    void* AEGP_ConvertLayerToCompTime;
    void* AEGP_GetLayerDancingRandValue;
    void* AEGP_GetLayerID;
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH aegp_layerH, const A_Time* comp_timeP,
                                       A_Matrix4* transform);
} AEGP_LayerSuite14;

typedef struct AEGP_CompSuite21 {
    void* AEGP_GetCompFromItem;
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
} AEGP_CompSuite21;

typedef struct AEGP_ItemSuite13 {
    void* AEGP_GetFirstProjItem;
    void* AEGP_GetNextProjItem;
    void* AEGP_GetActiveItem;
    void* AEGP_IsItemSelected;
    void* AEGP_SelectItem;
    void* AEGP_GetItemType;
    void* AEGP_GetTypeName;
    void* AEGP_GetItemName;
    void* AEGP_SetItemName;
    void* AEGP_GetItemID;
    void* AEGP_GetItemFlags;
    void* AEGP_SetItemUseProxy;
    void* AEGP_GetItemParentFolder;
    void* AEGP_SetItemParentFolder;
    void* AEGP_GetItemDuration;
    void* AEGP_GetItemCurrentTime;
    A_Err (*AEGP_GetItemDimensions)(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL);
} AEGP_ItemSuite13;

typedef struct AEGP_UtilitySuite11 {
    void* AEGP_ReportInfo;
    void* AEGP_ReportInfoUnicode;
    void* AEGP_GetDriverPluginInitFuncVersion;
    void* AEGP_GetDriverImplementationVersion;
    void* AEGP_StartQuietErrors;
    void* AEGP_EndQuietErrors;
    void* AEGP_GetLastErrorMessage;
    void* AEGP_StartUndoGroup;
    void* AEGP_EndUndoGroup;
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
} AEGP_UtilitySuite11;

typedef struct AEGP_StreamSuite7 {
    void* AEGP_IsStreamLegal;
    void* AEGP_CanVaryOverTime;
    void* AEGP_GetValidInterpolations;
    A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                    AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    void* AEGP_GetEffectNumParamStreams;
    void* AEGP_GetNewEffectStreamByIndex;
    void* AEGP_GetNewMaskStream;
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    void* AEGP_GetStreamName;
    void* AEGP_GetStreamUnitsText;
    void* AEGP_GetStreamProperties;
    void* AEGP_IsStreamTimevarying;
    void* AEGP_GetStreamType;
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time* timePT,
                                    A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
} AEGP_StreamSuite7;

typedef struct AEGP_LightSuite2 {
    A_Err (*AEGP_GetLightType)(AEGP_LayerH light_layerH, AEGP_LightType* light_type);
    void* AEGP_SetLightType;
} AEGP_LightSuite2;

#endif
