// Renders whole frames from a RenderSettings record without a host, on a pool of threads, with
// the same pixel callbacks the host's iterate suites call. A helper for tests and benchmarks of
// the pure core; frames of the effect itself go through the plug-in and the standalone host
// (EffectHost::RenderFrame).
#ifndef SPIROVAULT_TESTS_SUPPORT_FRAME_RENDERER_H
#define SPIROVAULT_TESTS_SUPPORT_FRAME_RENDERER_H

#include <functional>
#include <vector>

#include "host/pf_pixel.h"
#include "kernel/settings.h"

namespace spirovault {

// Default parameters, default ramp, the host's default camera for a composition of this size
// without a camera layer, no composition lights, no environment.
RenderSettings MakeDefaultRenderSettings(int width, int height);

// Runs row(y) for every row, spread over `threads` workers (0 = all cores).
void ForEachRow(int height, int threads, const std::function<void(int)>& row);

// A frame in one of the host's bit depths, rows packed.
std::vector<PF_PixelFloat> RenderFrameFloat(const RenderSettings& settings, int threads,
                                            const std::vector<PF_PixelFloat>* input = nullptr);
std::vector<PF_Pixel16> RenderFrame16(const RenderSettings& settings, int threads,
                                      const std::vector<PF_Pixel16>* input = nullptr);
std::vector<PF_Pixel8> RenderFrame8(const RenderSettings& settings, int threads,
                                    const std::vector<PF_Pixel8>* input = nullptr);

}  // namespace spirovault

#endif
