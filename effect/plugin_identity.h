// Who the plug-in is to the host: names, version and capability flags. The property list,
// registration and global setup all read them from here.
#ifndef SPIROVAULT_EFFECT_PLUGIN_IDENTITY_H
#define SPIROVAULT_EFFECT_PLUGIN_IDENTITY_H

#include "host/pf_in_out_data.h"

namespace spirovault {

inline constexpr const char* kEffectName = "Spirovault";
inline constexpr const char* kEffectMatchName = "ADBE Spirovault";
inline constexpr const char* kEffectCategory = "Thalwick";
inline constexpr const char* kEffectEntryPoint = "EffectMain";
inline constexpr const char* kEffectDescription = "Spirovault raymarcher.";

inline constexpr A_long kEffectKind = PF_FourCharCode("eFKT");
inline constexpr A_long kEffectApiVersionMajor = 13;
inline constexpr A_long kEffectApiVersionMinor = 27;
inline constexpr A_long kRegistrationReservedInfo = 8;

inline constexpr A_long kEffectMajorVersion = 1;
inline constexpr A_long kEffectMinorVersion = 0;
inline constexpr A_long kEffectFixVersion = 0;
inline constexpr A_long kEffectStage = 0;  // PF_Stage_DEVELOP
inline constexpr A_long kEffectBuild = 1;

// The host's packing: major at bit 19, minor at 15, fix at 11, stage at 9, build in 0 to 8.
constexpr A_u_long PackEffectVersion(A_long major, A_long minor, A_long fix, A_long stage,
                                     A_long build) {
    return (static_cast<A_u_long>(major) << 19) | (static_cast<A_u_long>(minor) << 15) |
           (static_cast<A_u_long>(fix) << 11) | (static_cast<A_u_long>(stage) << 9) |
           static_cast<A_u_long>(build);
}
inline constexpr A_u_long kEffectVersion = PackEffectVersion(
    kEffectMajorVersion, kEffectMinorVersion, kEffectFixVersion, kEffectStage, kEffectBuild);
static_assert(kEffectVersion == 0x00080001);

// The host sends PF_Cmd_UPDATE_PARAMS_UI only to effects that ask for it.
inline constexpr PF_OutFlags kEffectOutFlags = PF_OutFlag_PIX_INDEPENDENT | PF_OutFlag_CUSTOM_UI |
                                               PF_OutFlag_DEEP_COLOR_AWARE |
                                               PF_OutFlag_SEND_UPDATE_PARAMS_UI;
// Premiere Pro gets no GPU rendering; every other host gets kEffectOutFlags2Gpu. The fractal is
// drawn where the layer is transparent, so the host must not crop the output to the layer's
// content or mask.
inline constexpr PF_OutFlags2 kEffectOutFlags2 =
    PF_OutFlag2_I_USE_3D_CAMERA | PF_OutFlag2_I_USE_3D_LIGHTS | PF_OutFlag2_REVEALS_ZERO_ALPHA |
    PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE |
    PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
inline constexpr PF_OutFlags2 kEffectOutFlags2Gpu =
    kEffectOutFlags2 | PF_OutFlag2_SUPPORTS_GPU_RENDER_F32;
static_assert(kEffectOutFlags == 0x06008400 && kEffectOutFlags2 == 0x08001486 &&
              kEffectOutFlags2Gpu == 0x0A001486);

}  // namespace spirovault

#endif
