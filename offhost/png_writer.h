// Writes straight-alpha RGBA images as PNG, atomically: a failed write leaves no file behind.
#ifndef SPIROVAULT_OFFHOST_PNG_WRITER_H
#define SPIROVAULT_OFFHOST_PNG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

// `rgba` holds width * height * 4 samples, rows top to bottom; bit_depth is 8 or 16.
// Returns an empty string on success, otherwise what went wrong.
std::string WritePng(const std::string& path, int width, int height, int bit_depth,
                     const std::vector<uint16_t>& rgba);

#endif
