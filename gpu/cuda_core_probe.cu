// Compiles the render core as CUDA device code, so that a change that breaks the CUDA build of
// the core fails the build here, where there is no GPU to run it.
#include "render/pixel_sampling.h"

__global__ void ProbeEstimateDistance(const RenderSettings* settings, const Vec3* points,
                                      float* distances, int count) {
    const int i = blockIdx.x * blockDim.x + threadIdx.x;
    if (i >= count) return;
    float trap = 4.0f;
    distances[i] = EstimateDistance(points[i], &trap, settings);
}

__global__ void ProbeRenderPixels(const RenderSettings* settings, PixelF* pixels) {
    const int x = blockIdx.x * blockDim.x + threadIdx.x;
    const int y = blockIdx.y * blockDim.y + threadIdx.y;
    if (x >= settings->output_width || y >= settings->output_height) return;
    RenderPixelSamples(settings, x, y, nullptr, &pixels[y * settings->output_width + x], 1);
}
