#include "tests/support/elf_dynamic_symbols.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

template <typename T>
T ReadAt(const std::vector<char>& file, size_t offset) {
    if (offset > file.size() || file.size() - offset < sizeof(T)) {
        throw std::runtime_error("truncated ELF file");
    }
    T value;
    std::memcpy(&value, file.data() + offset, sizeof(T));
    return value;
}

std::vector<char> ReadElf64(const std::string& path, Elf64_Ehdr* header) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    *header = ReadAt<Elf64_Ehdr>(file, 0);
    if (std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 ||
        header->e_ident[EI_CLASS] != ELFCLASS64) {
        throw std::runtime_error(path + " is not a 64-bit ELF file");
    }
    return file;
}

std::string StringAt(const std::vector<char>& file, size_t offset) {
    if (offset >= file.size()) throw std::runtime_error("bad string offset");
    return std::string(file.data() + offset, strnlen(file.data() + offset, file.size() - offset));
}

}  // namespace

std::set<std::string> NeededLibraries(const std::string& path) {
    Elf64_Ehdr header;
    const std::vector<char> file = ReadElf64(path, &header);
    for (size_t i = 0; i < header.e_shnum; ++i) {
        const auto section = ReadAt<Elf64_Shdr>(file, header.e_shoff + i * header.e_shentsize);
        if (section.sh_type != SHT_DYNAMIC) continue;
        const auto strings =
            ReadAt<Elf64_Shdr>(file, header.e_shoff + section.sh_link * header.e_shentsize);
        std::set<std::string> needed;
        for (size_t offset = 0; offset + sizeof(Elf64_Dyn) <= section.sh_size;
             offset += sizeof(Elf64_Dyn)) {
            const auto entry = ReadAt<Elf64_Dyn>(file, section.sh_offset + offset);
            if (entry.d_tag == DT_NULL) break;
            if (entry.d_tag == DT_NEEDED) {
                needed.insert(StringAt(file, strings.sh_offset + entry.d_un.d_val));
            }
        }
        return needed;
    }
    throw std::runtime_error(path + " has no dynamic section");
}

std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
    Elf64_Ehdr header;
    const std::vector<char> file = ReadElf64(path, &header);
    std::set<std::string> names;
    for (size_t i = 0; i < header.e_shnum; ++i) {
        const auto section = ReadAt<Elf64_Shdr>(file, header.e_shoff + i * header.e_shentsize);
        if (section.sh_type != SHT_DYNSYM) continue;
        const auto strings =
            ReadAt<Elf64_Shdr>(file, header.e_shoff + section.sh_link * header.e_shentsize);
        for (size_t offset = 0; offset + sizeof(Elf64_Sym) <= section.sh_size;
             offset += sizeof(Elf64_Sym)) {
            const auto symbol = ReadAt<Elf64_Sym>(file, section.sh_offset + offset);
            const int binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) {
                continue;
            }
            names.insert(StringAt(file, strings.sh_offset + symbol.st_name));
        }
        return names;
    }
    throw std::runtime_error(path + " has no dynamic symbol table");
}
