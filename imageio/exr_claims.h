// What an OpenEXR file's first header claims, read without the OpenEXR library so that nothing
// is allocated on its word: every attribute's size is checked against the file, and the data
// window, compression and tiling are taken as they are.
#ifndef SPIROVAULT_IMAGEIO_EXR_CLAIMS_H
#define SPIROVAULT_IMAGEIO_EXR_CLAIMS_H

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace imageio {

struct ExrClaims {
    long long width = 0, height = 0;  // of the data window, computed without overflow
    int compression = 0;              // the file's compression code (0: none)
    bool tiled = false;
    long long tile_width = 0, tile_height = 0;  // when tiled
    int channels = 0;
    long long pixel_bytes = 0;  // stored bytes of one pixel over all channels, unsampled
    unsigned long long file_bytes = 0;
    unsigned long long scene_bytes = 0;  // of the embedded scene's attribute, 0: none
};

// Throws ImageError naming the file when the header is damaged, ends early or an attribute
// claims more bytes than the file has left.
ExrClaims ReadExrClaims(const std::string& path);
// The same from a whole file in memory, or a stream; `name` stands for the file in messages.
ExrClaims ReadExrClaims(const std::vector<uint8_t>& bytes, const std::string& name);
ExrClaims ReadExrClaims(std::istream& file, const std::string& name);

// The fewest bytes a file with these claims can have, however well its compression does:
// every chunk has its offset and its header, and the pixel data shrinks at most by the best
// ratio of the compression, where that is known.
unsigned long long LeastExrFileBytes(const ExrClaims& claims);

}  // namespace imageio

#endif
