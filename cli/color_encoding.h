// The effect's output is display-encoded (the sRGB transfer function applied); compositing
// applications read OpenEXR colour as linear light. This converts between the two.
#ifndef SPIROVAULT_CLI_COLOR_ENCODING_H
#define SPIROVAULT_CLI_COLOR_ENCODING_H

#include "imageio/float_image.h"

// The inverse of the sRGB transfer function; odd-symmetric below zero, the same curve above 1.
float SrgbToLinear(float encoded);

// Straight colour to linear light; alpha untouched (the writer premultiplies afterwards).
void ConvertToLinearLight(FloatImage* image);

#endif
