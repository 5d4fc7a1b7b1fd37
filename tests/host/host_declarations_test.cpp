// Every host declaration compiles on its own and keeps the layouts the effect relies on.
#include <gtest/gtest.h>

#include <cstddef>

#include "host/aegp_suites.h"
#include "host/drawbot_acquisition.h"
#include "host/pf_ansi_suite.h"
#include "host/pf_app_suites.h"
#include "host/pf_arbitrary_data.h"
#include "host/pf_commands.h"
#include "host/pf_gpu_device_suite.h"
#include "host/pf_handle_suite.h"
#include "host/pf_iterate_suites.h"
#include "host/pf_param_utils_suite.h"
#include "host/pf_pixel_format_suite.h"
#include "host/pf_plugin_data.h"
#include "host/pf_smart_render.h"
#include "host/pf_world_suite.h"
#include "platform/cuda_driver_api.h"
#include "platform/opencl_api.h"

static_assert(sizeof(PF_OutData::return_msg) == 256);
static_assert(sizeof(PF_ParamDef::name) == 32);
static_assert(sizeof(SPBasicSuite) == 7 * sizeof(void*));
static_assert(offsetof(PF_ArbParamsExtra, u) == 8);
static_assert(PF_Cmd_ARBITRARY_CALLBACK == 22 && PF_Cmd_SMART_RENDER_GPU == 31 &&
              PF_Cmd_GPU_DEVICE_SETDOWN == 33 && PF_Cmd_NUM_CMDS == 34);
static_assert(PF_FourCharCode("PrMr") == 0x50724D72 && PF_FourCharCode("eFKT") == 0x65464B54);
static_assert(PF_PUI_CONTROL == 2 && PF_PUI_DISABLED == 32 && PF_PUI_DONT_ERASE_CONTROL == 0x80);

TEST(HostDeclarations, PixelFormatCodesReadAsTheirCharacters) {
    const PF_PixelFormat formats[] = {PF_PixelFormat_ARGB128, PF_PixelFormat_ARGB64,
                                      PF_PixelFormat_ARGB32, PF_PixelFormat_INVALID};
    const char* names[] = {"ae32", "ae16", "argb", "badf"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&formats[i]), 4), names[i]);
    }
}
