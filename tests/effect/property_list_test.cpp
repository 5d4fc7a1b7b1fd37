// The property list resource as the build writes it, against the published layout.
#include "effect/property_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace spirovault;

namespace {

// One property: vendor and key as stored (characters reversed), id 0, length, value. The length
// is the padded one unless given: a 16-bit number is 2 bytes long, then 2 bytes of padding.
std::string Property(const char* stored_key, const std::string& value, size_t length_field = 0) {
    std::string out = "MIB8";
    out += stored_key;
    out += std::string(4, '\0');
    const auto length = static_cast<uint32_t>(length_field != 0 ? length_field : value.size());
    for (int i = 0; i < 4; ++i) out += static_cast<char>((length >> (8 * i)) & 0xFF);
    return out + value;
}

std::string Long(uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

std::string ExpectedBytes() {
    using namespace std::string_literals;
    std::string out = "\x01\x00"s + "\0\0\0\0"s + "\x0c\0\0\0"s;
    out += Property("dnik", "TKFe");
    out += Property("eman", "\x0aSpirovault\0"s);
    out += Property("gtac", "\x08Thalwick\0\0\0"s);
    out += Property("4668", "EffectMain\0\0"s);
    out += Property("RVPe", "\x02\0\0\0"s);
    out += Property("RVSe", "\x0d\0\x1b\0"s);
    out += Property("REVe", Long(0x00080001));
    out += Property("FNIe", "\0\0\0\0"s, 2);
    out += Property("OLGe", Long(0x06008400));
    out += Property("2LGe", Long(0x0A001486));
    out += Property("ANMe",
                    "\x0f"
                    "ADBE Spirovault"s);
    out += Property("LFea", Long(0));
    return out;
}

}  // namespace

TEST(PropertyList, BuildOutputMatchesThePublishedLayout) {
    std::ifstream in(SPIROVAULT_PIPL_FILE, std::ios::binary);
    ASSERT_TRUE(in.good()) << SPIROVAULT_PIPL_FILE;
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(file, ExpectedBytes());

    const std::vector<uint8_t> built = PropertyListBytes();
    EXPECT_EQ(std::string(built.begin(), built.end()), file);
}
