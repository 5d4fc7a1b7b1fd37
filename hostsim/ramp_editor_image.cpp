#include "hostsim/ramp_editor_image.h"

#include <stdexcept>
#include <string>

#include "hostsim/ramp_editor_client.h"

namespace hostsim {

namespace {

void Require(PF_Err err, const char* what) {
    if (err != PF_Err_NONE) {
        throw std::runtime_error(std::string(what) + " failed with error " + std::to_string(err));
    }
}

}  // namespace

RgbaImage DrawRampEditorImage(EffectHost& host, const std::vector<uint8_t>& flat_ramp, int width,
                              int height) {
    if (width <= 0 || height <= 0) throw std::runtime_error("the editor needs a non-empty size");
    if (host.services().params().size() <= 1) {
        Require(host.GlobalSetup().err, "global setup");
        Require(host.ParamsSetup().err, "parameter setup");
    }
    RampEditorClient editor(host, PF_Rect{0, 0, width, height});
    if (!flat_ramp.empty()) editor.SetValueBytes(flat_ramp);
    EditorDrawing drawing = editor.Draw();
    Require(drawing.result.err, "drawing the ramp editor");
    return std::move(drawing.image);
}

}  // namespace hostsim
