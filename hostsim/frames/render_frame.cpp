#include <cstring>
#include <stdexcept>

#include "hostsim/effect_host.h"
#include "hostsim/frames/frame_session.h"
#include "hostsim/gpu_devices/gpu_device_commands.h"

namespace hostsim {

FrameResult EffectHost::RenderFrame(const FrameRequest& request) {
    FrameResult result;
    CommandResult step;
    {
        std::lock_guard lock(setup_mutex_);
        step = EnsureSetUp();
        // Premiere Pro does not render this effect on a GPU.
        if (step.err == PF_Err_NONE && request.gpu != PF_GPU_Framework_NONE && !premiere_pro()) {
            const GpuTarget target = PrepareGpuDevice(*this, request.gpu);
            if (target.device_index < 0) throw std::runtime_error(target.why_not);
            if (target.setup_err != PF_Err_NONE) {
                result.err = target.setup_err;
                result.return_msg = target.setup_msg;
                result.audit = Audit();
                return result;
            }
        }
    }
    if (step.err == PF_Err_NONE) {
        FrameSession session(*this, request);
        result.on_gpu = session.gpu_worlds() != nullptr;
        if (session.premiere_pro()) {
            step = session.RenderCommand();
        } else {
            step = session.PreRender();
            if (step.err == PF_Err_NONE) step = session.Render(result.on_gpu);
            session.DisposePreRenderData();
        }
        session.CollectOutput(&result);
    }
    result.err = step.err;
    result.return_msg = ReturnMessage(step.out_data);
    result.audit = Audit();
    return result;
}

}  // namespace hostsim
