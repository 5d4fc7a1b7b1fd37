// Cross-built and run under Wine: loads the Windows plug-in into the standalone host and takes
// it through registration, About, global and parameter setup, as the host application does at
// start-up, offers it a CUDA device without a CUDA driver, then points at the colour ramp editor,
// which asks for one of the host's cursors.
//   spirovault-host-smoke PLUGIN
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "host/pf_gpu_framework.h"
#include "hostsim/effect_host.h"
#include "hostsim/ramp_editor_client.h"

namespace {

using namespace hostsim;

int failures = 0;
int passes = 0;

void Check(bool ok, const std::string& what) {
    (ok ? passes : failures) += 1;
    if (!ok) std::printf("FAILED: %s\n", what.c_str());
}

void Run(const char* plugin_path) {
    EffectHost host(plugin_path);
    Check(host.library().optimus_flag() != nullptr && *host.library().optimus_flag() == 1,
          "NvOptimusEnablementCuda is exported with value 1");

    PluginRegistration registration;
    const PF_Err registered = host.library().Register(nullptr, &registration);
    Check(registered == PF_Err_NONE && registration.calls == 1, "registration succeeds once");
    Check(registration.name == "Spirovault" && registration.match_name == "ADBE Spirovault" &&
              registration.category == "Thalwick" && registration.entry_point == "EffectMain",
          "registration names");

    const CommandResult about = host.About();
    Check(about.err == PF_Err_NONE &&
              std::string(about.out_data.return_msg).find("Spirovault") != std::string::npos,
          "About names the effect");

    const CommandResult global = host.GlobalSetup();
    Check(global.err == PF_Err_NONE && global.out_data.out_flags == 0x06008400 &&
              global.out_data.out_flags2 == 0x0A001486,
          "global setup flags");

    const CommandResult params = host.ParamsSetup();
    // The host keeps the input layer at index 0 before the effect's sixty parameters.
    Check(params.err == PF_Err_NONE && host.services().params().size() == 61,
          "parameter setup declares sixty parameters");

    for (const CommandResult* result : {&about, &global, &params}) {
        Check(result->audit.clean(), "no resource left behind: " + result->audit.Describe());
    }

    // No CUDA driver here (nvcuda.dll): a CUDA device is declined, so the host renders on the
    // CPU.
    PF_GPUDeviceSetupInput input{PF_GPU_Framework_CUDA, 0};
    PF_GPUDeviceSetupOutput output{nullptr};
    PF_GPUDeviceSetupExtra extra{&input, &output};
    PF_OutData out{};
    out.out_flags2 = 0x1234;
    const CommandResult cuda = host.Send(PF_Cmd_GPU_DEVICE_SETUP, &extra, out);
    Check(cuda.err == PF_Err_NONE && cuda.out_data.out_flags2 == 0x1234 &&
              output.gpu_data == nullptr && cuda.audit.clean(),
          "a CUDA device is declined");

    // Over the marker strip the effect asks for the host's crosshair.
    RampEditorClient editor(host);
    const EditorEvent cursor = editor.AdjustCursor({110, 34});
    Check(cursor.result.err == PF_Err_NONE &&
              cursor.event.u.adjust_cursor.set_cursor == PF_Cursor_CROSSHAIRS,
          "the ramp editor asks for the host's crosshair");
    // This build's standalone host cannot draw, and says so.
    bool refused = false;
    try {
        editor.Draw();
    } catch (const std::runtime_error&) {
        refused = true;
    }
    Check(refused, "drawing the editor is refused without Cairo");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PLUGIN\n", argv[0]);
        return 2;
    }
    try {
        Run(argv[1]);
    } catch (const std::exception& error) {
        std::printf("FAILED: %s\n", error.what());
        ++failures;
    }
    std::printf("host smoke: %d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
