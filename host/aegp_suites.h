// The general-plug-in suites through which the effect reads its composition, camera and lights.
// Each table is declared whole, as the host hands it out for the version requested; entries
// the effect never calls carry only their argument sizes. The version constants name the
// table layout and hold the number requested, which is not always the same number.
#ifndef SPIROVAULT_HOST_AEGP_SUITES_H
#define SPIROVAULT_HOST_AEGP_SUITES_H

#include "host/aegp_types.h"

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1
#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion8 14
#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion10 21
#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion8 13
#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion5 11
#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion2 7
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

typedef struct AEGP_LayerSuite8 {
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL, AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetActiveLayer)(void*);
    A_Err (*AEGP_GetLayerIndex)(void*, void*);
    A_Err (*AEGP_GetLayerSourceItem)(void*, void*);
    A_Err (*AEGP_GetLayerSourceItemID)(void*, void*);
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    A_Err (*AEGP_GetLayerName)(A_long, void*, void*, void*);
    A_Err (*AEGP_GetLayerQuality)(void*, void*);
    A_Err (*AEGP_SetLayerQuality)(void*, A_short);
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    A_Err (*AEGP_SetLayerFlag)(void*, A_long, A_Boolean);
    A_Err (*AEGP_IsLayerVideoReallyOn)(void*, void*);
    A_Err (*AEGP_IsLayerAudioReallyOn)(void*, void*);
    A_Err (*AEGP_GetLayerCurrentTime)(void*, A_short, void*);
    A_Err (*AEGP_GetLayerInPoint)(void*, A_short, void*);
    A_Err (*AEGP_GetLayerDuration)(void*, A_short, void*);
    A_Err (*AEGP_SetLayerInPointAndDuration)(void*, A_short, void*, void*);
    A_Err (*AEGP_GetLayerOffset)(void*, void*);
    A_Err (*AEGP_SetLayerOffset)(void*, void*);
    A_Err (*AEGP_GetLayerStretch)(void*, void*);
    A_Err (*AEGP_SetLayerStretch)(void*, void*);
    A_Err (*AEGP_GetLayerTransferMode)(void*, void*);
    A_Err (*AEGP_SetLayerTransferMode)(void*, void*);
    A_Err (*AEGP_IsAddLayerValid)(void*, void*, void*);
    A_Err (*AEGP_AddLayer)(void*, void*, void*);
    A_Err (*AEGP_ReorderLayer)(void*, A_long);
    A_Err (*AEGP_GetLayerMaskedBounds)(void*, A_short, void*, void*);
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    A_Err (*AEGP_IsLayer3D)(void*, void*);
    A_Err (*AEGP_IsLayer2D)(void*, void*);
    A_Err (*AEGP_IsVideoActive)(void*, A_short, void*, void*);
    A_Err (*AEGP_IsLayerUsedAsTrackMatte)(void*, A_Boolean, void*);
    A_Err (*AEGP_DoesLayerHaveTrackMatte)(void*, void*);
    A_Err (*AEGP_ConvertCompToLayerTime)(void*, void*, void*);
    A_Err (*AEGP_ConvertLayerToCompTime)(void*, void*, void*);
    A_Err (*AEGP_GetLayerDancingRandValue)(void*, void*, void*);
    A_Err (*AEGP_GetLayerID)(void*, void*);
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH aegp_layerH, const A_Time* comp_timeP,
                                       A_Matrix4* transform);
    A_Err (*AEGP_GetLayerToWorldXformFromView)(void*, void*, void*, void*);
    A_Err (*AEGP_SetLayerName)(void*, void*);
    A_Err (*AEGP_GetLayerParent)(void*, void*);
    A_Err (*AEGP_SetLayerParent)(void*, void*);
    A_Err (*AEGP_DeleteLayer)(void*);
    A_Err (*AEGP_DuplicateLayer)(void*, void*);
    A_Err (*AEGP_GetLayerFromLayerID)(void*, A_long, void*);
    A_Err (*AEGP_GetLayerLabel)(void*, void*);
    A_Err (*AEGP_SetLayerLabel)(void*, A_char);
    A_Err (*AEGP_GetLayerSamplingQuality)(void*, void*);
    A_Err (*AEGP_SetLayerSamplingQuality)(void*, A_short);
} AEGP_LayerSuite8;

typedef struct AEGP_CompSuite10 {
    A_Err (*AEGP_GetCompFromItem)(void*, void*);
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
    A_Err (*AEGP_GetCompDownsampleFactor)(void*, void*);
    A_Err (*AEGP_SetCompDownsampleFactor)(void*, void*);
    A_Err (*AEGP_GetCompBGColor)(void*, void*);
    A_Err (*AEGP_SetCompBGColor)(void*, void*);
    A_Err (*AEGP_GetCompFlags)(void*, void*);
    A_Err (*AEGP_GetShowLayerNameOrSourceName)(void*, void*);
    A_Err (*AEGP_SetShowLayerNameOrSourceName)(void*, A_Boolean);
    A_Err (*AEGP_GetShowBlendModes)(void*, void*);
    A_Err (*AEGP_SetShowBlendModes)(void*, A_Boolean);
    A_Err (*AEGP_GetCompFramerate)(void*, void*);
    A_Err (*AEGP_SetCompFrameRate)(void*, void*);
    A_Err (*AEGP_GetCompShutterAnglePhase)(void*, void*, void*);
    A_Err (*AEGP_GetCompShutterFrameRange)(void*, void*, void*, void*);
    A_Err (*AEGP_GetCompSuggestedMotionBlurSamples)(void*, void*);
    A_Err (*AEGP_SetCompSuggestedMotionBlurSamples)(void*, A_long);
    A_Err (*AEGP_GetCompMotionBlurAdaptiveSampleLimit)(void*, void*);
    A_Err (*AEGP_SetCompMotionBlurAdaptiveSampleLimit)(void*, A_long);
    A_Err (*AEGP_GetCompWorkAreaStart)(void*, void*);
    A_Err (*AEGP_GetCompWorkAreaDuration)(void*, void*);
    A_Err (*AEGP_SetCompWorkAreaStartAndDuration)(void*, void*, void*);
    A_Err (*AEGP_CreateSolidInComp)(void*, A_long, A_long, void*, void*, void*, void*);
    A_Err (*AEGP_CreateCameraInComp)(void*, A_FloatPoint, void*, void*);
    A_Err (*AEGP_CreateLightInComp)(void*, A_FloatPoint, void*, void*);
    A_Err (*AEGP_CreateComp)(void*, void*, A_long, A_long, void*, void*, void*, void*);
    A_Err (*AEGP_GetNewCollectionFromCompSelection)(A_long, void*, void*);
    A_Err (*AEGP_SetSelection)(void*, void*);
    A_Err (*AEGP_GetCompDisplayStartTime)(void*, void*);
    A_Err (*AEGP_SetCompDisplayStartTime)(void*, void*);
    A_Err (*AEGP_SetCompDuration)(void*, void*);
    A_Err (*AEGP_CreateNullInComp)(void*, void*, void*, void*);
    A_Err (*AEGP_SetCompPixelAspectRatio)(void*, void*);
    A_Err (*AEGP_CreateTextLayerInComp)(void*, A_Boolean, void*);
    A_Err (*AEGP_CreateBoxTextLayerInComp)(void*, A_Boolean, A_FloatPoint, void*);
    A_Err (*AEGP_SetCompDimensions)(void*, A_long, A_long);
    A_Err (*AEGP_DuplicateComp)(void*, void*);
    A_Err (*AEGP_GetCompFrameDuration)(void*, void*);
    A_Err (*AEGP_GetMostRecentlyUsedComp)(void*);
    A_Err (*AEGP_CreateVectorLayerInComp)(void*, void*);
    A_Err (*AEGP_GetNewCompMarkerStream)(A_long, void*, void*);
    A_Err (*AEGP_GetCompDisplayDropFrame)(void*, void*);
    A_Err (*AEGP_SetCompDisplayDropFrame)(void*, A_Boolean);
} AEGP_CompSuite10;

typedef struct AEGP_ItemSuite8 {
    A_Err (*AEGP_GetFirstProjItem)(void*, void*);
    A_Err (*AEGP_GetNextProjItem)(void*, void*, void*);
    A_Err (*AEGP_GetActiveItem)(void*);
    A_Err (*AEGP_IsItemSelected)(void*, void*);
    A_Err (*AEGP_SelectItem)(void*, A_Boolean, A_Boolean);
    A_Err (*AEGP_GetItemType)(void*, void*);
    A_Err (*AEGP_GetTypeName)(A_short, void*);
    A_Err (*AEGP_GetItemName)(A_long, void*, void*);
    A_Err (*AEGP_SetItemName)(void*, void*);
    A_Err (*AEGP_GetItemID)(void*, void*);
    A_Err (*AEGP_GetItemFlags)(void*, void*);
    A_Err (*AEGP_SetItemUseProxy)(void*, A_Boolean);
    A_Err (*AEGP_GetItemParentFolder)(void*, void*);
    A_Err (*AEGP_SetItemParentFolder)(void*, void*);
    A_Err (*AEGP_GetItemDuration)(void*, void*);
    A_Err (*AEGP_GetItemCurrentTime)(void*, void*);
    A_Err (*AEGP_GetItemDimensions)(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL);
    A_Err (*AEGP_GetItemPixelAspectRatio)(void*, void*);
    A_Err (*AEGP_DeleteItem)(void*);
    A_Err (*AEGP_CreateNewFolder)(void*, void*, void*);
    A_Err (*AEGP_SetItemCurrentTime)(void*, void*);
    A_Err (*AEGP_GetItemCommentLength)(void*, void*);
    A_Err (*AEGP_GetItemComment)(void*, A_u_long, void*);
    A_Err (*AEGP_SetItemComment)(void*, void*);
    A_Err (*AEGP_GetItemLabel)(void*, void*);
    A_Err (*AEGP_SetItemLabel)(void*, A_char);
    A_Err (*AEGP_GetItemMRUView)(void*, void*);
} AEGP_ItemSuite8;

typedef struct AEGP_UtilitySuite5 {
    A_Err (*AEGP_ReportInfo)(A_long, void*);
    A_Err (*AEGP_GetDriverPluginInitFuncVersion)(void*, void*);
    A_Err (*AEGP_GetDriverImplementationVersion)(void*, void*);
    A_Err (*AEGP_StartQuietErrors)(void*);
    A_Err (*AEGP_EndQuietErrors)(A_Boolean, void*);
    A_Err (*AEGP_GetLastErrorMessage)(A_long, void*, void*);
    A_Err (*AEGP_StartUndoGroup)(void*);
    A_Err (*AEGP_EndUndoGroup)();
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
    A_Err (*AEGP_GetMainHWND)(void*);
    A_Err (*AEGP_ShowHideAllFloaters)(A_Boolean);
    A_Err (*AEGP_PaintPalGetForeColor)(void*);
    A_Err (*AEGP_PaintPalGetBackColor)(void*);
    A_Err (*AEGP_PaintPalSetForeColor)(void*);
    A_Err (*AEGP_PaintPalSetBackColor)(void*);
    A_Err (*AEGP_CharPalGetFillColor)(void*, void*);
    A_Err (*AEGP_CharPalGetStrokeColor)(void*, void*);
    A_Err (*AEGP_CharPalSetFillColor)(void*);
    A_Err (*AEGP_CharPalSetStrokeColor)(void*);
    A_Err (*AEGP_CharPalIsFillColorUIFrontmost)(void*);
    A_Err (*AEGP_ConvertFpLongToHSFRatio)(A_FpLong, void*);
    A_Err (*AEGP_ConvertHSFRatioToFpLong)(A_Ratio, void*);
    A_Err (*AEGP_CauseIdleRoutinesToBeCalled)();
    A_Err (*AEGP_GetSuppressInteractiveUI)(void*);
    A_Err (*AEGP_WriteToOSConsole)(void*);
    A_Err (*AEGP_WriteToDebugLog)(void*, void*, void*);
    A_Err (*AEGP_IsScriptingAvailable)(void*);
    A_Err (*AEGP_ExecuteScript)(A_long, void*, A_Boolean, void*, void*);
    A_Err (*AEGP_HostIsActivated)(void*);
    A_Err (*AEGP_GetPluginPlatformRef)(A_long, void*);
    A_Err (*AEGP_UpdateFontList)();
} AEGP_UtilitySuite5;

typedef struct AEGP_StreamSuite2 {
    A_Err (*AEGP_IsStreamLegal)(void*, A_long, void*);
    A_Err (*AEGP_CanVaryOverTime)(void*, void*);
    A_Err (*AEGP_GetValidInterpolations)(void*, void*);
    A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                    AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetEffectNumParamStreams)(void*, void*);
    A_Err (*AEGP_GetNewEffectStreamByIndex)(A_long, void*, A_long, void*);
    A_Err (*AEGP_GetNewMaskStream)(A_long, void*, A_long, void*);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    A_Err (*AEGP_GetStreamName)(void*, A_Boolean, void*);
    A_Err (*AEGP_GetStreamUnitsText)(void*, A_Boolean, void*);
    A_Err (*AEGP_GetStreamProperties)(void*, void*, void*, void*);
    A_Err (*AEGP_IsStreamTimevarying)(void*, void*);
    A_Err (*AEGP_GetStreamType)(void*, void*);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time* timePT,
                                    A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
    A_Err (*AEGP_SetStreamValue)(A_long, void*, void*);
    A_Err (*AEGP_GetLayerStreamValue)(void*, A_long, A_short, void*, A_Boolean, void*, void*);
    A_Err (*AEGP_GetExpressionState)(A_long, void*, void*);
    A_Err (*AEGP_SetExpressionState)(A_long, void*, A_Boolean);
    A_Err (*AEGP_GetExpression)(A_long, void*, void*);
    A_Err (*AEGP_SetExpression)(A_long, void*, void*);
    A_Err (*AEGP_DuplicateStreamRef)(A_long, void*, void*);
} AEGP_StreamSuite2;

typedef struct AEGP_LightSuite2 {
    A_Err (*AEGP_GetLightType)(AEGP_LayerH light_layerH, AEGP_LightType* light_type);
    A_Err (*AEGP_SetLightType)(void*, A_u_long);
} AEGP_LightSuite2;

#endif
