// Between image files and the host's layer images: the input layer placed in the composition,
// the environment layer, and the rendered frame back to a file's pixels, display-encoded as the
// effect made them or converted to linear light.
#ifndef SPIROVAULT_CLI_FRAME_IMAGES_H
#define SPIROVAULT_CLI_FRAME_IMAGES_H

#include "cli/value_parsing.h"
#include "hostsim/frames/host_image.h"
#include "imageio/image_file.h"

namespace cli {
using hostsim::HostImage;
using hostsim::WorldDepth;

// A layer of the composition's size with the image centred on it (cropped where it is larger,
// transparent around it where it is smaller), in straight colour as the host keeps layer pixels.
HostImage PlaceInputLayer(const imageio::FloatImage& image, FrameSize composition);

// The environment image as a layer of its own size; colour is taken as it is. Takes the image's
// pixels over.
HostImage EnvironmentLayer(imageio::FloatImage&& image);
// The depth of the environment layer's world: a PNG's own, float for the float formats.
WorldDepth EnvironmentDepth(const imageio::LoadedImage& loaded);

// The rendered frame as a file's straight RGBA; takes the frame's pixels over.
imageio::FloatImage FrameToImage(HostImage&& frame);

// The effect's output is display-encoded (the sRGB transfer function applied); compositing
// applications read OpenEXR colour as linear light. This is the inverse of the sRGB transfer
// function; odd-symmetric below zero, the same curve above 1.
float SrgbToLinear(float encoded);
// Straight colour to linear light; alpha untouched (the writer premultiplies afterwards).
void ConvertToLinearLight(imageio::FloatImage* image);

}  // namespace cli

#endif
