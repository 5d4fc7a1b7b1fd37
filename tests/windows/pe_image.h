// Reads what the tests check in a 64-bit Windows image (PE32+): header facts, export names,
// imported DLLs and resources, straight from the file's bytes.
#ifndef SPIROVAULT_TESTS_WINDOWS_PE_IMAGE_H
#define SPIROVAULT_TESTS_WINDOWS_PE_IMAGE_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr uint16_t kPeMachineAmd64 = 0x8664;
inline constexpr uint16_t kPeCharacteristicExecutable = 0x0002;
inline constexpr uint16_t kPeCharacteristicDll = 0x2000;

struct PeExport {
    std::string name;
    uint32_t rva = 0;
};

// A resource's name or type: a number or a string, as the resource directory keeps them.
struct PeResourceKey {
    std::optional<uint32_t> id;
    std::u16string name;
};

struct PeResource {
    PeResourceKey type;
    PeResourceKey name;
    uint32_t language = 0;
    std::vector<uint8_t> data;
};

class PeImage {
  public:
    // Throws std::runtime_error when the bytes are not a well-formed PE32+ image: every offset
    // and size is checked before it is followed.
    explicit PeImage(std::vector<uint8_t> bytes);
    static PeImage FromFile(const std::string& path);

    uint16_t machine() const { return machine_; }
    uint16_t characteristics() const { return characteristics_; }
    const std::vector<PeExport>& exports() const { return exports_; }
    const std::vector<std::string>& imported_dlls() const { return imported_dlls_; }
    const std::vector<PeResource>& resources() const { return resources_; }

    // Whether the RVA lies in an executable section.
    bool IsCode(uint32_t rva) const;
    // The bytes at an RVA; they must lie in one section's file data.
    std::vector<uint8_t> Read(uint32_t rva, uint32_t size) const;

  private:
    struct Section {
        uint32_t rva, virtual_size, file_offset, file_size, flags;
    };
    const Section* SectionOf(uint32_t rva) const;
    size_t FileOffset(uint32_t rva, uint32_t size) const;
    std::string StringAt(uint32_t rva) const;
    void ReadExports(uint32_t rva);
    void ReadImports(uint32_t rva);
    void ReadResources(uint32_t rva);
    PeResourceKey ResourceKey(uint32_t root, uint32_t entry_name) const;

    std::vector<uint8_t> bytes_;
    uint16_t machine_ = 0;
    uint16_t characteristics_ = 0;
    std::vector<Section> sections_;
    std::vector<PeExport> exports_;
    std::vector<std::string> imported_dlls_;
    std::vector<PeResource> resources_;
};

#endif
