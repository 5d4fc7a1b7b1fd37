// The CUDA kernel's fat binary read back out of the built plug-ins (spirovault.so and, where it
// is cross-built, Spirovault.aex): the bytes nvcc made, with machine code for sm_75 and PTX for
// compute_75, listed by cuobjdump where the toolkit has it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

template <typename T>
T At(const Bytes& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Every fat binary in a file: the magic, version 1, a 16-byte header and a payload that fits.
std::vector<Bytes> FindFatBinaries(const Bytes& file) {
    std::vector<Bytes> found;
    for (size_t at = 0; at + 16 <= file.size(); at += 4) {
        if (At<uint32_t>(file, at) != 0xBA55ED50u || At<uint16_t>(file, at + 4) != 1 ||
            At<uint16_t>(file, at + 6) != 16) {
            continue;
        }
        const uint64_t payload = At<uint64_t>(file, at + 8);
        if (payload > file.size() - at - 16) continue;
        found.emplace_back(file.begin() + at, file.begin() + at + 16 + payload);
    }
    return found;
}

// The entries of a fat binary as "ELF sm_75" and "PTX compute_75".
std::vector<std::string> ListEntries(const Bytes& fatbin) {
    std::vector<std::string> entries;
    size_t at = 16;
    while (at + 32 <= fatbin.size()) {
        const uint16_t kind = At<uint16_t>(fatbin, at);
        const uint32_t header = At<uint32_t>(fatbin, at + 4);
        const uint64_t size = At<uint64_t>(fatbin, at + 8);
        const uint32_t arch = At<uint32_t>(fatbin, at + 28);
        entries.push_back(kind == 2   ? "ELF sm_" + std::to_string(arch)
                          : kind == 1 ? "PTX compute_" + std::to_string(arch)
                                      : "kind " + std::to_string(kind));
        at += header + size;
    }
    return entries;
}

std::string Run(const std::string& command) {
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return output;
    std::array<char, 256> buffer;
    while (fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) output += buffer.data();
    return output;
}

void ExpectCarriesTheKernel(const std::string& library, const std::string& name) {
    const Bytes file = ReadFile(library);
    ASSERT_FALSE(file.empty()) << library;
    const std::vector<Bytes> found = FindFatBinaries(file);
    // Debug information may repeat the array's initializer; every copy must be the build's.
    ASSERT_GE(found.size(), 1u) << library;
    const Bytes built = ReadFile(SPIROVAULT_CUDA_FATBIN_FILE);
    for (const Bytes& copy : found) EXPECT_TRUE(copy == built) << library;
    EXPECT_EQ(ListEntries(found[0]), (std::vector<std::string>{"ELF sm_75", "PTX compute_75"}));

    const std::string cuobjdump = SPIROVAULT_CUOBJDUMP;
    if (cuobjdump.empty()) return;
    const std::string extracted = std::string(SPIROVAULT_TEST_OUTPUT_DIR) + "/" + name + ".fatbin";
    std::ofstream(extracted, std::ios::binary)
        .write(reinterpret_cast<const char*>(found[0].data()),
               static_cast<std::streamsize>(found[0].size()));
    const std::string listing = Run(cuobjdump + " -lelf -lptx " + extracted + " 2>&1");
    std::printf("%s", listing.c_str());
    // One line per entry: "ELF file    1: ....sm_75.cubin", "PTX file    1: ....sm_75.ptx".
    bool elf = false, ptx = false;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        const bool sm_75 = line.find("sm_75") != std::string::npos;
        elf = elf || (line.rfind("ELF file", 0) == 0 && sm_75);
        ptx = ptx || (line.rfind("PTX file", 0) == 0 && sm_75);
    }
    EXPECT_TRUE(elf) << listing;
    EXPECT_TRUE(ptx) << listing;
}

TEST(EmbeddedKernel, LinuxPluginCarriesTheFatBinary) {
    ExpectCarriesTheKernel(SPIROVAULT_PLUGIN_PATH, "linux-plugin");
}

#if defined(SPIROVAULT_WINDOWS_PLUGIN)
TEST(EmbeddedKernel, WindowsPluginCarriesTheFatBinary) {
    ExpectCarriesTheKernel(SPIROVAULT_WINDOWS_PLUGIN, "windows-plugin");
}
#endif

}  // namespace
