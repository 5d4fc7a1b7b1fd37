#include "frame/environment_image.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "device/cpu/vuya_pixel.h"

namespace spirovault {

namespace {

constexpr float kChannel16Scale = 1.0f / 32768.0f;  // 3.0517578e-05: 32768 is white

void ConvertRow(const void* row, A_long width, PF_PixelFormat format, float* rgb) {
    switch (format) {
        case PF_PixelFormat_ARGB128: {
            const auto* px = static_cast<const PF_PixelFloat*>(row);
            for (A_long x = 0; x < width; ++x, rgb += 3) {
                rgb[0] = px[x].red;
                rgb[1] = px[x].green;
                rgb[2] = px[x].blue;
            }
            break;
        }
        case PF_PixelFormat_ARGB64: {
            const auto* px = static_cast<const PF_Pixel16*>(row);
            for (A_long x = 0; x < width; ++x, rgb += 3) {
                rgb[0] = px[x].red * kChannel16Scale;
                rgb[1] = px[x].green * kChannel16Scale;
                rgb[2] = px[x].blue * kChannel16Scale;
            }
            break;
        }
        case PF_PixelFormat_GPU_BGRA128: {
            const auto* px = static_cast<const float*>(row);
            for (A_long x = 0; x < width; ++x, rgb += 3, px += 4) {
                rgb[0] = px[2];
                rgb[1] = px[1];
                rgb[2] = px[0];
            }
            break;
        }
        case static_cast<PF_PixelFormat>(PrPixelFormat_VUYA_4444_32f): {
            const auto* bytes = static_cast<const char*>(row);
            for (A_long x = 0; x < width; ++x, rgb += 3) {
                VuyaPixel vuya;
                std::memcpy(&vuya, bytes + x * sizeof vuya, sizeof vuya);
                const PF_PixelFloat px = VuyaToArgb(vuya);
                rgb[0] = px.red;
                rgb[1] = px.green;
                rgb[2] = px.blue;
            }
            break;
        }
        default: {
            const auto* px = static_cast<const PF_Pixel8*>(row);
            for (A_long x = 0; x < width; ++x, rgb += 3) {
                rgb[0] = static_cast<float>(px[x].red / 255.0);
                rgb[1] = static_cast<float>(px[x].green / 255.0);
                rgb[2] = static_cast<float>(px[x].blue / 255.0);
            }
            break;
        }
    }
}

}  // namespace

void ClearEnvironment(RenderSettings* record) {
    // A block without a size would break the record's invariant, so it goes too.
    std::free(record->hdri_pixels);
    record->hdri_pixels = nullptr;
    record->hdri_width = 0;
    record->hdri_height = 0;
}

void StoreEnvironmentImage(const PF_EffectWorld& world, PF_PixelFormat format,
                           RenderSettings* record) {
    ClearEnvironment(record);
    if (world.data == nullptr || world.width < 1 || world.height < 1 ||
        world.width > kMaxEnvironmentSide || world.height > kMaxEnvironmentSide) {
        return;
    }
    const size_t row_floats = static_cast<size_t>(world.width) * 3;
    auto* pixels = static_cast<float*>(std::malloc(row_floats * world.height * sizeof(float)));
    if (pixels == nullptr) return;
    const auto* top = static_cast<const char*>(world.data);
    for (A_long y = 0; y < world.height; ++y) {
        ConvertRow(top + static_cast<ptrdiff_t>(y) * world.rowbytes, world.width, format,
                   pixels + row_floats * y);
    }
    record->hdri_pixels = pixels;
    record->hdri_width = world.width;
    record->hdri_height = world.height;
}

}  // namespace spirovault
