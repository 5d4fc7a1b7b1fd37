// The cross-built Windows plug-in and programs, read as PE images: what the host application
// and Windows need from them before any code runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "effect/property_list.h"
#include "tests/windows/pe_image.h"

using namespace spirovault;

namespace {

// The build's plug-in, or the copy SPIROVAULT_CHECK_PLUGIN names (a package's, unpacked).
const PeImage& Plugin() {
    const char* given = std::getenv("SPIROVAULT_CHECK_PLUGIN");
    static const PeImage image =
        PeImage::FromFile(given != nullptr && *given != '\0' ? given : SPIROVAULT_WINDOWS_PLUGIN);
    return image;
}

std::vector<std::string> Programs() {
    std::vector<std::string> paths;
    std::stringstream list(SPIROVAULT_WINDOWS_PROGRAMS);
    for (std::string path; std::getline(list, path, '|');) paths.push_back(path);
    return paths;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// What every Windows installation has. No toolchain runtime (libgcc, libstdc++, winpthread)
// may appear, nor OpenCL.dll: machines without an OpenCL driver must still load the plug-in.
const std::set<std::string> kSystemDlls = {"kernel32.dll", "user32.dll", "msvcrt.dll",
                                           "advapi32.dll", "gdi32.dll",  "ntdll.dll"};

void ExpectSystemImportsOnly(const PeImage& image, const std::string& what) {
    EXPECT_FALSE(image.imported_dlls().empty()) << what;
    for (const std::string& dll : image.imported_dlls()) {
        EXPECT_TRUE(kSystemDlls.count(Lower(dll)) == 1) << what << " imports " << dll;
    }
}

}  // namespace

TEST(WindowsPlugin, IsA64BitDll) {
    EXPECT_EQ(Plugin().machine(), kPeMachineAmd64);
    EXPECT_NE(Plugin().characteristics() & kPeCharacteristicDll, 0);
    EXPECT_NE(Plugin().characteristics() & kPeCharacteristicExecutable, 0);
}

TEST(WindowsPlugin, ExportsExactlyTheEntryPointsAndTheOptimusFlag) {
    std::set<std::string> names;
    for (const PeExport& e : Plugin().exports()) {
        names.insert(e.name);
        if (e.name == "NvOptimusEnablementCuda") {
            EXPECT_FALSE(Plugin().IsCode(e.rva));
            EXPECT_EQ(Plugin().Read(e.rva, 4), (std::vector<uint8_t>{1, 0, 0, 0}));
        } else {
            EXPECT_TRUE(Plugin().IsCode(e.rva)) << e.name << " is not code";
        }
    }
    EXPECT_EQ(Plugin().exports().size(), 3u);
    EXPECT_EQ(names, (std::set<std::string>{"EffectMain", "PluginDataEntryFunction",
                                            "NvOptimusEnablementCuda"}));
}

TEST(WindowsPlugin, CarriesThePropertyListResourceOnce) {
    std::vector<const PeResource*> lists;
    for (const PeResource& r : Plugin().resources()) {
        if (!r.type.id && r.type.name == u"PIPL") lists.push_back(&r);
    }
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0]->name.id, std::optional<uint32_t>(kPropertyListResourceId));
    EXPECT_EQ(lists[0]->language, static_cast<uint32_t>(kPropertyListLanguage));
    EXPECT_EQ(lists[0]->data, PropertyListBytes());
}

TEST(WindowsPlugin, ImportsSystemLibrariesOnly) {
    ExpectSystemImportsOnly(Plugin(), "the plug-in");
}

TEST(WindowsPrograms, AreAmd64ExecutablesImportingSystemLibrariesOnly) {
    for (const std::string& path : Programs()) {
        const PeImage program = PeImage::FromFile(path);
        EXPECT_EQ(program.machine(), kPeMachineAmd64) << path;
        EXPECT_EQ(program.characteristics() & kPeCharacteristicDll, 0) << path;
        ExpectSystemImportsOnly(program, path);
    }
}

// The reader must refuse what it cannot follow instead of reading past the file.
TEST(PeImageReader, RefusesDamagedImages) {
    std::vector<uint8_t> bytes;
    {
        std::ifstream in(SPIROVAULT_WINDOWS_PLUGIN, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(bytes.size(), 0x200u);
    EXPECT_THROW(PeImage(std::vector<uint8_t>{}), std::runtime_error);
    EXPECT_THROW(PeImage(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 0x40)),
                 std::runtime_error);

    std::vector<uint8_t> header_past_end = bytes;
    header_past_end[0x3C] = header_past_end[0x3D] = header_past_end[0x3E] = 0xFF;
    EXPECT_THROW(PeImage{header_past_end}, std::runtime_error);

    // Sections whose file data lies beyond the end: every directory read must notice.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 0x400);
    EXPECT_THROW(PeImage{cut}, std::runtime_error);
}
