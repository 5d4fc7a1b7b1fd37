#include <cstring>
#include <fstream>

#include "imageio/float_image.h"
#include "imageio/image_metadata.h"
#include "imageio/input_file.h"

namespace imageio {

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr unsigned char kExrMagic[4] = {0x76, 0x2f, 0x31, 0x01};

uint32_t BigEndian32(const unsigned char* bytes) {
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | bytes[3];
}

uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0xffffffffu) {
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc;
}

// Walks the chunks before the image data for the scene's tEXt chunk.
std::string ScenePngText(std::istream& file, const std::string& path) {
    const std::string tag = std::string(kScenePngKeyword) + '\0';
    unsigned char head[8];
    while (file.read(reinterpret_cast<char*>(head), 8)) {
        const uint32_t length = BigEndian32(head);
        const std::string type(reinterpret_cast<const char*>(head + 4), 4);
        if (type == "IDAT" || type == "IEND" || length > 0x7fffffffu) break;
        std::string data;
        if (type == "tEXt" && length >= tag.size()) {
            data.resize(tag.size());
            if (!file.read(data.data(), static_cast<std::streamsize>(data.size()))) break;
        }
        if (!data.empty() && data == tag) {
            const size_t scene_bytes = length - tag.size();
            if (scene_bytes > kMaxEmbeddedSceneBytes) {
                throw ImageError("cannot read the scene of " + path + ": it is " +
                                 std::to_string(scene_bytes) + " bytes, more than the " +
                                 std::to_string(kMaxEmbeddedSceneBytes) + " a scene may have");
            }
            std::string scene(scene_bytes, '\0');
            if (!file.read(scene.data(), static_cast<std::streamsize>(scene_bytes))) break;
            return scene;
        }
        file.seekg(static_cast<std::streamoff>(length - data.size()) + 4, std::ios::cur);
    }
    throw ImageError("cannot read the scene of " + path + ": the PNG carries none");
}

std::optional<std::string> SceneOf(std::istream& file, const std::string& path,
                                   const std::vector<uint8_t>* bytes) {
    unsigned char head[8] = {};
    if (!file || !file.read(reinterpret_cast<char*>(head), 8)) return std::nullopt;
    if (std::memcmp(head, kPngSignature, 8) == 0) return ScenePngText(file, path);
    if (std::memcmp(head, kExrMagic, 4) == 0) {
        return bytes ? ExrSceneAttribute(*bytes, path) : ReadExrSceneAttribute(path);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadEmbeddedScene(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return SceneOf(file, path, nullptr);
}

std::optional<std::string> EmbeddedScene(const std::vector<uint8_t>& bytes,
                                         const std::string& name) {
    MemoryBuffer buffer(bytes.data(), bytes.size());
    std::istream file(&buffer);
    return SceneOf(file, name, &bytes);
}

std::vector<uint8_t> PngTextChunk(const std::string& keyword, const std::string& text) {
    const size_t length = keyword.size() + 1 + text.size();
    std::vector<uint8_t> chunk;
    chunk.reserve(length + 12);
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back((length >> shift) & 0xff);
    for (const char c : std::string("tEXt") + keyword + '\0' + text) {
        chunk.push_back(static_cast<uint8_t>(c));
    }
    const uint32_t crc = Crc32(chunk.data() + 4, chunk.size() - 4) ^ 0xffffffffu;
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back((crc >> shift) & 0xff);
    return chunk;
}

}  // namespace imageio
