#include "cli/ramp_editor_output.h"

#include <stdexcept>

#include "cli/cli_error.h"
#include "cli/value_parsing.h"
#include "hostsim/ramp_editor_image.h"
#include "imageio/atomic_file.h"
#include "imageio/image_file.h"

namespace cli {
using hostsim::RgbaImage;

void CheckRampEditorOutput(const std::string& path) {
    imageio::ImageKind kind;
    if (!imageio::OutputKindFor(path, &kind) || kind != imageio::ImageKind::kPng) {
        throw UsageError("--ramp-editor " + Quoted(path) + ": the name must end in .png");
    }
}

void WriteRampEditorImage(const std::string& path,
                          const std::optional<std::vector<RampStopValue>>& ramp, EffectHost& host) {
    imageio::CheckWritable(path);
    std::vector<uint8_t> flat;
    if (ramp) {
        const FlatRamp record = FlattenRamp(*ramp);
        flat.assign(record.begin(), record.end());
    }
    RgbaImage drawn;
    try {
        drawn = DrawRampEditorImage(host, flat, kRampEditorImageWidth, kRampEditorImageHeight);
    } catch (const std::runtime_error& e) {
        throw CliError(std::string("the ramp editor: ") + e.what());
    }
    imageio::FloatImage image(drawn.width, drawn.height);
    for (size_t i = 0; i < drawn.pixels.size(); ++i) image.rgba[i] = drawn.pixels[i] / 255.0f;
    imageio::WriteImage(path, image, imageio::ImageKind::kPng, 8);
}

}  // namespace cli
