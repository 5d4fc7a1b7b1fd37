// Build tool: writes the property list resource bytes to the file named on the command line.
#include <cstdio>
#include <cstring>

#include "effect/property_list.h"

using namespace spirovault;

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(
            "usage: spirovault-write-pipl OUTPUT\n\nWrites the effect's property-list "
            "resource bytes (\"PIPL\") to OUTPUT.\n");
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: spirovault-write-pipl OUTPUT (see --help)\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = PropertyListBytes();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
