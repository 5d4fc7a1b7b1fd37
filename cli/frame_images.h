// Between image files and the host's layer images: the input layer placed in the composition,
// the environment layer, and the rendered frame back to a file's pixels.
#ifndef SPIROVAULT_CLI_FRAME_IMAGES_H
#define SPIROVAULT_CLI_FRAME_IMAGES_H

#include "cli/value_parsing.h"
#include "hostsim/frames/host_image.h"
#include "imageio/image_file.h"

using hostsim::HostImage;
using hostsim::WorldDepth;

// A layer of the composition's size with the image centred on it (cropped where it is larger,
// transparent around it where it is smaller), premultiplied as the host keeps layer pixels.
HostImage PlaceInputLayer(const FloatImage& image, FrameSize composition);

// The environment image as a layer of its own size; colour is taken as it is. Takes the image's
// pixels over.
HostImage EnvironmentLayer(FloatImage&& image);
// The depth of the environment layer's world: a PNG's own, float for the float formats.
WorldDepth EnvironmentDepth(const LoadedImage& loaded);

// The rendered frame as a file's straight RGBA; takes the frame's pixels over.
FloatImage FrameToImage(HostImage&& frame);

#endif
