// Image files round trip, damaged files are refused by name, and writes are all or nothing.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include "imageio/atomic_file.h"
#include "imageio/exr_io.h"
#include "imageio/image_budget.h"
#include "imageio/image_file.h"
#include "imageio/image_metadata.h"
#include "imageio/png_io.h"
#include "imageio/radiance_hdr.h"
#include "tests/support/fork_with_default_interrupts.h"

namespace fs = std::filesystem;

namespace {

using namespace imageio;

class ImageIoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("spirovault_image_io_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const char* name) const { return (dir_ / name).string(); }
    void WriteBytes(const char* name, const std::vector<uint8_t>& bytes) const {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    template <typename F>
    std::string ErrorOf(F action) {
        try {
            action();
        } catch (const ImageError& e) {
            return e.what();
        }
        return "";
    }

    fs::path dir_;
};

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers reserve terabytes of address space up front; a limit on it cannot hold them.
constexpr bool kAddressSpaceLimitWorks = false;
#else
constexpr bool kAddressSpaceLimitWorks = true;
#endif

struct ChildRead {
    bool exited = false;  // false: killed by a signal, the time limit's included
    std::string outcome;  // "read", "out of memory" or the error message
};

// Reads `path` in a child process whose address space may grow by only `extra_mb` over what it
// starts with, and which is stopped after `seconds`: a reader that allocates on a header's word
// runs out of memory there instead of taking the machine's.
ChildRead ReadInBoundedChild(const std::string& path, unsigned long extra_mb, unsigned seconds) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        if (kAddressSpaceLimitWorks && pages > 0) {
            const rlim_t bytes = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) +
                                 (static_cast<rlim_t>(extra_mb) << 20);
            const rlimit limit{bytes, bytes};
            setrlimit(RLIMIT_AS, &limit);
        }
        alarm(seconds);
        std::string outcome = "read";
        try {
            ReadImage(path);
        } catch (const ImageError& e) {
            outcome = e.what();
        } catch (const std::bad_alloc&) {
            outcome = "out of memory";
        }
        const ssize_t written = write(channel[1], outcome.data(), outcome.size());
        _exit(written == static_cast<ssize_t>(outcome.size()) ? 0 : 1);
    }
    close(channel[1]);
    ChildRead result;
    char buffer[512];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.outcome.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

std::vector<uint8_t> PngChunk(const char* type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> chunk;
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(uint8_t(data.size() >> shift));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(uint8_t(crc >> shift));
    return chunk;
}

// An 8-bit RGBA PNG of the given size around `zlib_data`.
std::vector<uint8_t> RgbaPng(uint32_t width, uint32_t height,
                             const std::vector<uint8_t>& zlib_data) {
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    for (uint32_t side : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(uint8_t(side >> shift));
    }
    header.insert(header.end(), {8, 6, 0, 0, 0});
    for (const auto& chunk :
         {PngChunk("IHDR", header), PngChunk("IDAT", zlib_data), PngChunk("IEND", {})}) {
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

FloatImage Gradient(int width, int height, float scale, float step, float half_alpha = 0.5f) {
    FloatImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float* p = image.Pixel(x, y);
            p[0] = std::fmod((x + 3 * y) * step, 1.0f) * scale;
            p[1] = std::fmod((2 * x + y) * step, 1.0f) * scale;
            p[2] = std::fmod((x * y) * step, 1.0f) * scale;
            p[3] = (x + y) % 2 == 0 ? 1.0f : half_alpha;
        }
    }
    return image;
}

TEST_F(ImageIoTest, PngRoundTripsExactlyAtBothDepths) {
    for (int bits : {8, 16}) {
        const float step = bits == 8 ? 1.0f / 255 : 1.0f / 65535;
        const FloatImage image = Gradient(7, 5, 1.0f, 37 * step, std::round(0.5f / step) * step);
        WritePng(Path("a.png"), image, bits);
        const LoadedImage loaded = ReadImage(Path("a.png"));
        EXPECT_EQ(loaded.kind, ImageKind::kPng);
        EXPECT_EQ(loaded.bit_depth, bits);
        ASSERT_EQ(loaded.image.width, 7);
        ASSERT_EQ(loaded.image.height, 5);
        for (size_t i = 0; i < image.rgba.size(); ++i) {
            ASSERT_NEAR(loaded.image.rgba[i], image.rgba[i], step * 0.01) << bits << " " << i;
        }
    }
    // Out-of-range values are clamped, not wrapped.
    FloatImage hot(1, 1);
    hot.rgba = {2.0f, -1.0f, 0.5f, 1.0f};
    WritePng(Path("hot.png"), hot, 8);
    const FloatImage back = ReadPng(Path("hot.png")).image;
    EXPECT_EQ(back.rgba[0], 1.0f);
    EXPECT_EQ(back.rgba[1], 0.0f);
    EXPECT_EQ(Entries().size(), 2u);  // no temporary files left
}

TEST_F(ImageIoTest, GreyPngReadsAsOpaqueRgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_GRAY;
    const uint8_t grey[2] = {0, 51};
    ASSERT_TRUE(png_image_write_to_file(&image, Path("grey.png").c_str(), 0, grey, 0, nullptr));
    const DecodedPng png = ReadPng(Path("grey.png"));
    ASSERT_EQ(png.image.rgba.size(), 8u);
    EXPECT_FLOAT_EQ(png.image.rgba[4], 0.2f);
    EXPECT_FLOAT_EQ(png.image.rgba[5], 0.2f);
    EXPECT_FLOAT_EQ(png.image.rgba[6], 0.2f);
    EXPECT_EQ(png.image.rgba[7], 1.0f);
}

TEST_F(ImageIoTest, DamagedFilesAreRefusedByName) {
    WritePng(Path("good.png"), Gradient(16, 16, 1.0f, 0.01f), 8);
    std::ifstream in(Path("good.png"), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    bytes.resize(bytes.size() / 2);
    WriteBytes("cut.png", bytes);
    EXPECT_NE(ErrorOf([&] { ReadImage(Path("cut.png")); }).find("cut.png: damaged PNG"),
              std::string::npos);
    WriteBytes("text.png", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_NE(ErrorOf([&] {
                  ReadImage(Path("text.png"));
              }).find("not a PNG, OpenEXR or Radiance HDR image"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { ReadImage(Path("missing.exr")); }).find("missing.exr"),
              std::string::npos);
    WriteBytes("bad.exr", {0x76, 0x2f, 0x31, 0x01, 2, 0, 0, 0, 'x'});
    EXPECT_NE(ErrorOf([&] { ReadImage(Path("bad.exr")); }).find("cannot read"), std::string::npos);
}

TEST_F(ImageIoTest, ExrRoundTripKeepsFloats) {
    // Tall enough to be written in several bands of rows.
    FloatImage image = Gradient(9, 150, 40.0f, 0.137f);
    image.Pixel(0, 0)[0] = -0.25f;
    WriteExr(Path("f.exr"), image);
    const LoadedImage loaded = ReadImage(Path("f.exr"));
    EXPECT_EQ(loaded.kind, ImageKind::kExr);
    ASSERT_EQ(loaded.image.width, 9);
    ASSERT_EQ(loaded.image.height, 150);
    for (size_t i = 0; i < image.rgba.size(); ++i) {
        // Premultiplied in the file, divided again on reading.
        ASSERT_NEAR(loaded.image.rgba[i], image.rgba[i], 1e-6f * (1 + std::fabs(image.rgba[i])))
            << i;
    }
    EXPECT_EQ(Entries(), std::vector<std::string>{"f.exr"});
}

// RGBE bytes of a file written by hand: 2 x 2, flat scan lines, bottom row first.
TEST_F(ImageIoTest, RadianceFlatScanlinesAndOrientation) {
    std::string header = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\nEXPOSURE=2\n\n+Y 2 +X 2\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    // 128 with exponent 129 is 1.0; exponent 0 is black.
    const uint8_t pixels[16] = {128, 64, 0, 129, 0, 0, 0, 0, 128, 128, 128, 130, 1, 2, 3, 0};
    bytes.insert(bytes.end(), pixels, pixels + 16);
    const FloatImage image = DecodeRadianceHdr(bytes, "flat.hdr");
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 2);
    // The first scan line is the bottom row; values are divided by the exposure.
    EXPECT_FLOAT_EQ(image.Pixel(0, 1)[0], 0.5f);
    EXPECT_FLOAT_EQ(image.Pixel(0, 1)[1], 0.25f);
    EXPECT_FLOAT_EQ(image.Pixel(1, 1)[0], 0.0f);
    EXPECT_FLOAT_EQ(image.Pixel(0, 0)[2], 1.0f);
    EXPECT_FLOAT_EQ(image.Pixel(1, 0)[0], 0.0f);
    EXPECT_EQ(image.Pixel(1, 0)[3], 1.0f);
}

TEST_F(ImageIoTest, RadianceRunLengthScanlines) {
    std::string header = "#?RGBE\n\n-Y 1 +X 8\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), {2, 2, 0, 8});
    bytes.insert(bytes.end(), {128 + 8, 128});                    // red: a run of 8
    bytes.insert(bytes.end(), {4, 0, 32, 64, 96, 128 + 4, 255});  // green: literals then a run
    bytes.insert(bytes.end(), {128 + 8, 0});                      // blue
    bytes.insert(bytes.end(), {128 + 8, 129});                    // exponent
    const FloatImage image = DecodeRadianceHdr(bytes, "rle.hdr");
    ASSERT_EQ(image.width, 8);
    EXPECT_FLOAT_EQ(image.Pixel(7, 0)[0], 1.0f);
    EXPECT_FLOAT_EQ(image.Pixel(2, 0)[1], 0.5f);
    EXPECT_FLOAT_EQ(image.Pixel(5, 0)[1], 255 / 128.0f);

    // Old-style repeats: (1, 1, 1, n) repeats the previous pixel n times.
    header = "#?RADIANCE\n\n-Y 1 +X 4\n";
    bytes.assign(header.begin(), header.end());
    bytes.insert(bytes.end(), {128, 0, 0, 129, 1, 1, 1, 3});
    const FloatImage repeated = DecodeRadianceHdr(bytes, "old.hdr");
    EXPECT_FLOAT_EQ(repeated.Pixel(3, 0)[0], 1.0f);

    // A run that overflows the scan line, a cut file and a foreign format are refused.
    bytes.assign(header.begin(), header.end());
    bytes.insert(bytes.end(), {128, 0, 0, 129, 1, 1, 1, 4});
    EXPECT_NE(ErrorOf([&] { DecodeRadianceHdr(bytes, "x.hdr"); }).find("overflows"),
              std::string::npos);
    // Too short for one scan line: refused on the header's word, before any pixel is read.
    bytes.resize(bytes.size() - 3);
    EXPECT_NE(ErrorOf([&] { DecodeRadianceHdr(bytes, "x.hdr"); }).find("needs a file of at least"),
              std::string::npos);
    header = "#?RGBE\n\n-Y 1 +X 8\n";
    bytes.assign(header.begin(), header.end());
    bytes.insert(bytes.end(), {2, 2, 0, 8, 128 + 8, 128, 4, 0, 32});
    EXPECT_NE(ErrorOf([&] { DecodeRadianceHdr(bytes, "x.hdr"); }).find("ends inside"),
              std::string::npos);
    header = "#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 4\n";
    bytes.assign(header.begin(), header.end());
    EXPECT_NE(ErrorOf([&] { DecodeRadianceHdr(bytes, "x.hdr"); }).find("xyze"), std::string::npos);
}

TEST_F(ImageIoTest, RadianceWriterRoundTrip) {
    // Wide enough for run-length scan lines, with runs and literals.
    FloatImage image(40, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 40; ++x) {
            float* p = image.Pixel(x, y);
            p[0] = x < 20 ? 3.0f : 0.01f * x;
            p[1] = 0.5f + y;
            p[2] = x % 3 == 0 ? 100.0f : 0.0f;
            p[3] = 1.0f;
        }
    }
    WriteRadianceHdr(Path("w.hdr"), image);
    const LoadedImage loaded = ReadImage(Path("w.hdr"));
    EXPECT_EQ(loaded.kind, ImageKind::kRadianceHdr);
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        const float largest = std::max({image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]});
        for (int c = 0; c < 3; ++c) {
            // Eight bits of mantissa shared by the largest channel.
            ASSERT_NEAR(loaded.image.rgba[i + c], image.rgba[i + c], largest / 128) << i;
        }
    }
}

TEST_F(ImageIoTest, HostileHeadersAreRefusedBeforeAllocating) {
    // Files whose headers claim far more than they hold: each fails in one line that names the
    // file and the size it claims, in a child that may take only 100 MB more address space.
    struct Case {
        std::string path;
        const char* claim;
    };
    const std::string corpus = SPIROVAULT_SOURCE_DIR "/tests/fuzz/";
    const std::string hdr_head = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n";
    const std::string small_hdr = hdr_head + "-Y 4000 +X 4000\n";
    WriteBytes("small.hdr", std::vector<uint8_t>(small_hdr.begin(), small_hdr.end()));
    WriteBytes("small.png", RgbaPng(4000, 4000, {0x78, 0x9c, 0x63, 0, 0}));
    // Over the pixel budget with enough bytes for the least data the claim needs (8 a row).
    std::string wide_hdr = hdr_head + "-Y 4097 +X 32767\n";
    wide_hdr.resize(wide_hdr.size() + 8 * 4097, '\x01');
    WriteBytes("wide.hdr", std::vector<uint8_t>(wide_hdr.begin(), wide_hdr.end()));
    const std::vector<Case> cases = {
        {corpus + "hdr_corpus/claims_32767_square.hdr", "32767 x 32767 is outside"},
        {Path("wide.hdr"), "32767 x 4097 is outside"},
        {corpus + "hdr_corpus/height_overflows_int.hdr", "1 x 4294967297 is outside"},
        {corpus + "png_corpus/claims_32767_square.png", "32767 x 32767 is outside"},
        {corpus + "exr_corpus/claims_16128x8960.exr", "16128 x 8960 is outside"},
        {corpus + "exr_corpus/claims_8000x8000.exr", "8000 x 8000 needs a file of at least"},
        {Path("small.hdr"), "4000 x 4000 needs a file of at least"},
        {Path("small.png"), "4000 x 4000 needs a file of at least"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const ChildRead read = ReadInBoundedChild(c.path, 100, 60);
        ASSERT_TRUE(read.exited) << read.outcome;
        EXPECT_EQ(read.outcome.rfind("cannot read " + c.path + ": ", 0), 0u) << read.outcome;
        EXPECT_NE(read.outcome.find(c.claim), std::string::npos) << read.outcome;
        EXPECT_EQ(read.outcome.find('\n'), std::string::npos);
    }
}

TEST_F(ImageIoTest, PngAtDeflatesBestRatioIsReadAndLessDataIsNot) {
    // Rows of zeros squeeze about as far as deflate goes; such a file is a real image, and the
    // bound on the ratio must let it through. The same header over half the data cannot be.
    constexpr uint32_t kSide = 1024;
    const std::vector<uint8_t> raw((1 + 4 * kSide) * kSide, 0);
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packed_size);
    ASSERT_EQ(compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9),
              Z_OK);
    packed.resize(packed_size);
    WriteBytes("zeros.png", RgbaPng(kSide, kSide, packed));
    const FloatImage zeros = ReadImage(Path("zeros.png")).image;
    EXPECT_EQ(zeros.width, static_cast<int>(kSide));
    EXPECT_EQ(zeros.rgba[zeros.rgba.size() - 1], 0.0f);
    packed.resize(packed.size() / 2);
    WriteBytes("half.png", RgbaPng(kSide, kSide, packed));
    EXPECT_NE(ErrorOf([&] { ReadImage(Path("half.png")); }).find("needs a file of at least"),
              std::string::npos);
    // Within the side limit but over the pixel budget: refused by the budget, whatever the data.
    WriteBytes("wide.png", RgbaPng(32767, 8192, packed));
    EXPECT_NE(ErrorOf([&] { ReadImage(Path("wide.png")); }).find("32767 x 8192 is outside"),
              std::string::npos);
    EXPECT_FALSE(WithinImageBudget(32767, 8192));
    EXPECT_TRUE(WithinImageBudget(16384, 8192));
}

TEST_F(ImageIoTest, EachInterruptRemovesTheTemporaryFileAndEndsBySignal) {
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = ForkWithDefaultInterrupts();
        if (child == 0) {
            AtomicFile file(Path("x.png"));
            // Sent again until it ends the process: a thread sanitizer may drop one.
            for (;;) {
                raise(signal_number);
                usleep(100000);
            }
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number)
            << strsignal(signal_number) << ": status " << status;
        EXPECT_EQ(Entries(), std::vector<std::string>{}) << strsignal(signal_number);
    }
}

TEST_F(ImageIoTest, InterruptWhileThreadsWriteLeavesNoTemporaryFile) {
    // Four threads write files as fast as they can (created, written, renamed or abandoned)
    // while SIGTERM arrives at a random moment, taken by whichever thread the system picks.
    std::mt19937 random(::testing::UnitTest::GetInstance()->random_seed());
    for (int run = 0; run < 40; ++run) {
        const pid_t child = ForkWithDefaultInterrupts();
        if (child == 0) {
            std::vector<std::thread> writers;
            for (int t = 0; t < 4; ++t) {
                writers.emplace_back([this, t] {
                    const std::string target = Path(("w" + std::to_string(t) + ".png").c_str());
                    // A failed write is caught, as any writer catches it: the temporary file's
                    // owner is then destroyed, and must not report before the interrupt ends.
                    for (int i = 0;; ++i) {
                        try {
                            AtomicFile file(target);
                            std::ofstream(file.temp_path(), std::ios::in | std::ios::out) << i;
                            if (i % 2 == 0) file.Commit();
                        } catch (const ImageError&) {
                            _exit(3);
                        }
                    }
                });
            }
            for (std::thread& writer : writers) writer.join();
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child, SIGTERM);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM)
            << "run " << run << " status " << status;
        for (const std::string& name : Entries()) {
            ASSERT_NE(name[0], '.') << "run " << run << " left " << name;
            fs::remove(dir_ / name);
        }
    }
}

TEST_F(ImageIoTest, FailedWritesLeaveNothing) {
    const FloatImage image = Gradient(4, 4, 1.0f, 0.1f);
    EXPECT_NE(ErrorOf([&] { WritePng(Path("no/such/dir/x.png"), image, 8); }).find("cannot write"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { WriteExr(Path("."), image); }).find("Is a directory"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { CheckWritable(Path("no/x.png")); }), "");
    // An abandoned write keeps the old file as it was and removes its temporary file.
    WritePng(Path("keep.png"), image, 8);
    const auto before = fs::file_size(Path("keep.png"));
    {
        AtomicFile abandoned(Path("keep.png"));
        std::ofstream(abandoned.temp_path()) << "half";
    }
    EXPECT_EQ(fs::file_size(Path("keep.png")), before);
    EXPECT_EQ(Entries(), std::vector<std::string>{"keep.png"});
}

TEST_F(ImageIoTest, ExposureLinesAreCheckedTogether) {
    // Each line is fine; their product, 1e-400, is no float, and would make every pixel NaN.
    const std::string header = "#?RADIANCE\nEXPOSURE=1e-200\nEXPOSURE=1e-200\n\n-Y 1 +X 1\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), {128, 128, 128, 129});
    EXPECT_NE(ErrorOf([&] {
                  DecodeRadianceHdr(bytes, "x.hdr");
              }).find("x.hdr: the EXPOSURE lines multiply to 0, outside the range"),
              std::string::npos);
    const std::string fine = "#?RADIANCE\nEXPOSURE=1e-10\nEXPOSURE=1e10\n\n-Y 1 +X 1\n";
    bytes.assign(fine.begin(), fine.end());
    bytes.insert(bytes.end(), {128, 128, 128, 129});
    EXPECT_FLOAT_EQ(DecodeRadianceHdr(bytes, "x.hdr").rgba[0], 1.0f);
}

TEST_F(ImageIoTest, EmbeddedScenesAreHeldToTheCapOnReading) {
    ImageMetadata big;
    big.scene = std::string(kMaxEmbeddedSceneBytes + 1, 'x');
    WriteExr(Path("big.exr"), Gradient(4, 4, 1.0f, 0.1f), big);
    WritePng(Path("big.png"), Gradient(4, 4, 1.0f, 0.1f), 8, big);
    for (const char* name : {"big.exr", "big.png"}) {
        EXPECT_NE(ErrorOf([&] {
                      ReadEmbeddedScene(Path(name));
                  }).find("it is 4194305 bytes, more than the 4194304 a scene may have"),
                  std::string::npos)
            << name;
    }
    ImageMetadata most;
    most.scene = std::string(kMaxEmbeddedSceneBytes, 'y');
    WriteExr(Path("most.exr"), Gradient(4, 4, 1.0f, 0.1f), most);
    EXPECT_EQ(ReadEmbeddedScene(Path("most.exr")), most.scene);
}

TEST_F(ImageIoTest, TemporaryNameFitsBesideTheLongestName) {
    const std::string name = std::string(251, 'n') + ".png";
    WritePng(Path(name.c_str()), Gradient(4, 4, 1.0f, 0.1f), 8);
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
}

}  // namespace
