#include <cstring>

#include "standalone/effect_host.h"
#include "standalone/render/frame_session.h"

FrameResult EffectHost::RenderFrame(const FrameRequest& request) {
    FrameResult result;
    CommandResult step = EnsureSetUp();
    if (step.err == PF_Err_NONE) {
        FrameSession session(*this, request);
        step = session.PreRender();
        if (step.err == PF_Err_NONE) step = session.Render();
        session.DisposePreRenderData();
        session.CollectOutput(&result);
    }
    result.err = step.err;
    const char* msg = step.out_data.return_msg;
    result.return_msg.assign(msg, strnlen(msg, sizeof step.out_data.return_msg));
    result.audit = Audit();
    return result;
}
