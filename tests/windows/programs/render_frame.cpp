// Renders the default view through the plug-in in the standalone host, in 8-bit, and writes it
// as an RGBA PNG. Built for Linux and for Windows, so that the same frame from both can be
// compared.   spirovault-render-frame PLUGIN WIDTH HEIGHT OUTPUT.png
#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "standalone/effect_host.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s PLUGIN WIDTH HEIGHT OUTPUT.png\n", argv[0]);
        return 2;
    }
    try {
        EffectHost host(argv[1]);
        FrameRequest request;
        request.width = std::atoi(argv[2]);
        request.height = std::atoi(argv[3]);
        request.depth = WorldDepth::k8;
        host.services().composition().width = request.width;
        host.services().composition().height = request.height;
        const FrameResult frame = host.RenderFrame(request);
        if (frame.err != PF_Err_NONE || !frame.audit.clean()) {
            std::fprintf(stderr, "the frame failed: error %d, %s\n", static_cast<int>(frame.err),
                         frame.audit.Describe().c_str());
            return 1;
        }
        // The world's pixels are alpha, red, green, blue; PNG wants red, green, blue, alpha.
        std::vector<unsigned char> rgba(frame.raw.size());
        for (size_t i = 0; i + 3 < frame.raw.size(); i += 4) {
            rgba[i] = frame.raw[i + 1];
            rgba[i + 1] = frame.raw[i + 2];
            rgba[i + 2] = frame.raw[i + 3];
            rgba[i + 3] = frame.raw[i];
        }
        if (stbi_write_png(argv[4], request.width, request.height, 4, rgba.data(),
                           request.width * 4) == 0) {
            std::fprintf(stderr, "cannot write %s\n", argv[4]);
            return 1;
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
