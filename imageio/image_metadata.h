// What an image file records besides its pixels: the scene it was rendered from (a PNG text
// chunk, an OpenEXR string attribute) and, for OpenEXR, how its colour is encoded.
#ifndef SPIROVAULT_IMAGEIO_IMAGE_METADATA_H
#define SPIROVAULT_IMAGEIO_IMAGE_METADATA_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace imageio {

// What an OpenEXR file's RGB holds, which its attributes say.
enum class ExrContent {
    kLinear,          // colour in linear light
    kDisplayEncoded,  // colour with the sRGB transfer function applied, as the effect made it
    kData,            // not colour (a depth map): values as rendered, through no transfer function
};

struct ImageMetadata {
    std::string scene;  // JSON; empty: none
    ExrContent exr_content = ExrContent::kLinear;
};

// The PNG text keyword and the OpenEXR attribute that hold the scene.
inline constexpr const char* kScenePngKeyword = "Spirovault scene";
inline constexpr const char* kSceneExrAttribute = "spirovaultScene";
// The most scene text read back from an image.
inline constexpr size_t kMaxEmbeddedSceneBytes = 4u << 20;

// The scene a PNG or OpenEXR file carries. nullopt when the file is neither; ImageError when it
// is one without a scene or cannot be read.
std::optional<std::string> ReadEmbeddedScene(const std::string& path);
// The same from a whole file held in memory; `name` stands for it in messages.
std::optional<std::string> EmbeddedScene(const std::vector<uint8_t>& bytes,
                                         const std::string& name);

// A complete PNG tEXt chunk (length, type, data, CRC), for encoders that cannot write one.
std::vector<uint8_t> PngTextChunk(const std::string& keyword, const std::string& text);

// The OpenEXR attribute's value; ImageError naming the file when there is none or it is larger
// than kMaxEmbeddedSceneBytes.
std::string ReadExrSceneAttribute(const std::string& path);
// The same from a whole file held in memory; `name` stands for it in messages.
std::string ExrSceneAttribute(const std::vector<uint8_t>& bytes, const std::string& name);

}  // namespace imageio

#endif
