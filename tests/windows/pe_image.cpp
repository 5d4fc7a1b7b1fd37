#include "tests/windows/pe_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr uint16_t kOptionalHeaderPe32Plus = 0x20b;
constexpr uint32_t kSectionExecutable = 0x20000000;
constexpr uint32_t kResourceSubdirectory = 0x80000000;
constexpr uint32_t kResourceNamed = 0x80000000;
enum DataDirectory { kExportDirectory = 0, kImportDirectory = 1, kResourceDirectory = 2 };

[[noreturn]] void Malformed(const std::string& what) {
    throw std::runtime_error("malformed PE image: " + what);
}

}  // namespace

PeImage PeImage::FromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return PeImage(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
}

namespace {

// Little-endian fields at a file offset, bounds-checked.
class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    void Need(size_t offset, size_t size) const {
        if (offset > bytes_.size() || size > bytes_.size() - offset) Malformed("truncated");
    }
    uint32_t U(size_t offset, int size) const {
        Need(offset, static_cast<size_t>(size));
        uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes_[offset + i];
        return v;
    }
    uint16_t U16(size_t offset) const { return static_cast<uint16_t>(U(offset, 2)); }
    uint32_t U32(size_t offset) const { return U(offset, 4); }

  private:
    const std::vector<uint8_t>& bytes_;
};

}  // namespace

PeImage::PeImage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    const Reader r(bytes_);
    if (r.U16(0) != 0x5A4D) Malformed("no MZ header");
    const size_t pe = r.U32(0x3C);
    if (r.U32(pe) != 0x00004550) Malformed("no PE signature");
    machine_ = r.U16(pe + 4);
    const uint16_t section_count = r.U16(pe + 6);
    const uint16_t optional_size = r.U16(pe + 20);
    characteristics_ = r.U16(pe + 22);
    const size_t optional = pe + 24;
    if (r.U16(optional) != kOptionalHeaderPe32Plus) Malformed("not PE32+");
    const uint32_t directory_count = r.U32(optional + 108);
    if (112 + 8 * static_cast<size_t>(directory_count) > optional_size) {
        Malformed("data directories overrun the optional header");
    }
    const size_t section_table = optional + optional_size;
    for (uint16_t i = 0; i < section_count; ++i) {
        const size_t s = section_table + 40 * static_cast<size_t>(i);
        sections_.push_back(
            {r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16), r.U32(s + 36)});
    }
    auto directory_rva = [&](uint32_t index) {
        return index < directory_count ? r.U32(optional + 112 + 8 * index) : 0;
    };
    if (uint32_t rva = directory_rva(kExportDirectory)) ReadExports(rva);
    if (uint32_t rva = directory_rva(kImportDirectory)) ReadImports(rva);
    if (uint32_t rva = directory_rva(kResourceDirectory)) ReadResources(rva);
}

const PeImage::Section* PeImage::SectionOf(uint32_t rva) const {
    for (const Section& s : sections_) {
        const uint32_t extent = std::max(s.virtual_size, s.file_size);
        if (rva >= s.rva && rva - s.rva < extent) return &s;
    }
    return nullptr;
}

size_t PeImage::FileOffset(uint32_t rva, uint32_t size) const {
    const Section* s = SectionOf(rva);
    if (s == nullptr) Malformed("address outside every section");
    const uint32_t within = rva - s->rva;
    if (within > s->file_size || size > s->file_size - within) {
        Malformed("data past a section's file bytes");
    }
    const size_t offset = static_cast<size_t>(s->file_offset) + within;
    Reader(bytes_).Need(offset, size);
    return offset;
}

bool PeImage::IsCode(uint32_t rva) const {
    const Section* s = SectionOf(rva);
    return s != nullptr && (s->flags & kSectionExecutable) != 0;
}

std::vector<uint8_t> PeImage::Read(uint32_t rva, uint32_t size) const {
    const size_t offset = FileOffset(rva, size);
    return {bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes_.begin() + static_cast<std::ptrdiff_t>(offset + size)};
}

std::string PeImage::StringAt(uint32_t rva) const {
    std::string text;
    for (size_t offset = FileOffset(rva, 1);; ++offset) {
        Reader(bytes_).Need(offset, 1);
        if (bytes_[offset] == 0) return text;
        text += static_cast<char>(bytes_[offset]);
    }
}

void PeImage::ReadExports(uint32_t rva) {
    const Reader r(bytes_);
    const size_t dir = FileOffset(rva, 40);
    const uint32_t function_count = r.U32(dir + 20);
    const uint32_t name_count = r.U32(dir + 24);
    const uint32_t functions = r.U32(dir + 28);
    const uint32_t names = r.U32(dir + 32);
    const uint32_t ordinals = r.U32(dir + 36);
    for (uint32_t i = 0; i < name_count; ++i) {
        const uint32_t name_rva = r.U32(FileOffset(names + 4 * i, 4));
        const uint16_t ordinal = r.U16(FileOffset(ordinals + 2 * i, 2));
        if (ordinal >= function_count) Malformed("export ordinal out of range");
        exports_.push_back({StringAt(name_rva), r.U32(FileOffset(functions + 4 * ordinal, 4))});
    }
}

void PeImage::ReadImports(uint32_t rva) {
    const Reader r(bytes_);
    for (uint32_t at = rva;; at += 20) {
        const size_t descriptor = FileOffset(at, 20);
        const uint32_t name_rva = r.U32(descriptor + 12);
        if (name_rva == 0 && r.U32(descriptor + 16) == 0) return;
        imported_dlls_.push_back(StringAt(name_rva));
    }
}

PeResourceKey PeImage::ResourceKey(uint32_t root, uint32_t entry_name) const {
    PeResourceKey key;
    if ((entry_name & kResourceNamed) == 0) {
        key.id = entry_name;
        return key;
    }
    const Reader r(bytes_);
    const uint32_t string_rva = root + (entry_name & ~kResourceNamed);
    const uint16_t length = r.U16(FileOffset(string_rva, 2));
    const size_t chars = FileOffset(string_rva + 2, 2u * length);
    for (uint16_t i = 0; i < length; ++i) key.name += static_cast<char16_t>(r.U16(chars + 2 * i));
    return key;
}

// Three fixed levels (type, name, language) end in data entries; a subdirectory where data is
// due, or data where a subdirectory is due, is malformed, so the walk cannot loop.
void PeImage::ReadResources(uint32_t root) {
    const Reader r(bytes_);
    auto entries = [&](uint32_t dir_rva, bool want_subdirectories) {
        const size_t dir = FileOffset(dir_rva, 16);
        const uint32_t count = static_cast<uint32_t>(r.U16(dir + 12)) + r.U16(dir + 14);
        std::vector<std::pair<uint32_t, uint32_t>> out;  // name field, target rva
        for (uint32_t i = 0; i < count; ++i) {
            const size_t entry = FileOffset(dir_rva + 16 + 8 * i, 8);
            const uint32_t target = r.U32(entry + 4);
            if (((target & kResourceSubdirectory) != 0) != want_subdirectories) {
                Malformed("resource tree deeper or shallower than three levels");
            }
            out.emplace_back(r.U32(entry), root + (target & ~kResourceSubdirectory));
        }
        return out;
    };
    for (const auto& [type_field, names_dir] : entries(root, true)) {
        for (const auto& [name_field, languages_dir] : entries(names_dir, true)) {
            for (const auto& [language, data_entry] : entries(languages_dir, false)) {
                const size_t entry = FileOffset(data_entry, 16);
                PeResource resource{ResourceKey(root, type_field), ResourceKey(root, name_field),
                                    language, Read(r.U32(entry), r.U32(entry + 4))};
                resources_.push_back(std::move(resource));
            }
        }
    }
}
