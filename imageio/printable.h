// Text from a file, made safe for a one-line message: control characters and bytes outside
// ASCII are shown as \xNN.
#ifndef SPIROVAULT_IMAGEIO_PRINTABLE_H
#define SPIROVAULT_IMAGEIO_PRINTABLE_H

#include <string>
#include <string_view>

namespace imageio {

inline std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\') {
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace imageio

#endif
