// spirovault-render against what its environment does: outputs that are devices, links or pipes,
// a full disk, inputs that are FIFOs or pipes, standard output that is full or closed, file names
// that are not UTF-8, frame times at broadcast rates and at the end of the host's time, and
// images holding values that are not finite. Each case is a shell command line, run as a user
// would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "imageio/exr_io.h"
#include "imageio/image_metadata.h"
#include "imageio/png_io.h"
#include "imageio/radiance_hdr.h"

namespace fs = std::filesystem;

namespace {

using namespace imageio;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct Ran {
    int status = -1;
    std::string out, err;
    int ErrLineCount() const {
        int lines = 0;
        for (char c : err) lines += c == '\n';
        return lines;
    }
};

class CliEnvironmentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               (std::string("spirovault_env_") + info->name() + "_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir_);
    }

    // Runs a bash command line in the test's directory, where $TOOL names the renderer; a run
    // still going after a minute is stopped. Standard input is empty unless the line says.
    Ran Shell(const std::string& line) const {
        const std::string command =
            "cd " + ShellQuote(dir_.string()) + " && TOOL=" + ShellQuote(SPIROVAULT_RENDER_TOOL) +
            " timeout 60 bash -c " + ShellQuote(line) + " >" + ShellQuote(Path(".out")) + " 2>" +
            ShellQuote(Path(".err")) + " </dev/null";
        Ran ran;
        const int raw = std::system(command.c_str());
        ran.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        ran.out = ReadFile(Path(".out"));
        ran.err = ReadFile(Path(".err"));
        fs::remove(Path(".out"));
        fs::remove(Path(".err"));
        return ran;
    }

    // The same inside a private mount namespace, where it may mount and replace /dev freely.
    // False where no namespace can be made: the caller skips, except under CI, where the
    // namespace is required.
    bool InMountNamespace(const std::string& line, Ran* ran) const {
        if (std::system("unshare --mount --propagation private true 2>/dev/null") != 0) {
            return false;
        }
        *ran = Shell("unshare --mount --propagation private bash -c " + ShellQuote(line));
        return true;
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Names in the test's directory (not below it).
    std::vector<std::string> Files(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_ / sub)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

#define SKIP_WITHOUT_NAMESPACE()                                                          \
    do {                                                                                  \
        if (std::getenv("CI") != nullptr) FAIL() << "CI needs a private mount namespace"; \
        GTEST_SKIP() << "no private mount namespace can be made here (not root?)";        \
    } while (false)

constexpr const char* kSmall = "$TOOL --size 24x14";

TEST_F(CliEnvironmentTest, DevicesAndStandardOutputAreWrittenThroughNotReplaced) {
    // /dev in the namespace is a stand-in: a null device node and standard output's link.
    Ran ran;
    const std::string line =
        "mount -t tmpfs none /dev && mknod -m 666 /dev/null c 1 3 && "
        "ln -s /proc/self/fd/1 /dev/stdout && "
        "$TOOL --save-scene /dev/null && "
        "$TOOL --save-scene /dev/stdout > by_link.json && "
        "$TOOL --save-scene - | cat > by_pipe.json && "
        "test -c /dev/null && test -L /dev/stdout && echo intact";
    if (!InMountNamespace(line, &ran)) SKIP_WITHOUT_NAMESPACE();
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "intact\n");
    for (const char* name : {"by_link.json", "by_pipe.json"}) {
        EXPECT_NE(ReadFile(dir_ / name).find("\"frame_rate\""), std::string::npos) << name;
    }
    // A FIFO gets the image through it and stays a FIFO.
    ran = Shell("mkfifo pipe.png && { cat pipe.png > got.png & } && " + std::string(kSmall) +
                " -o pipe.png && wait && test -p pipe.png");
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ReadPng(Path("got.png")).image.width, 24);
}

TEST_F(CliEnvironmentTest, LinkIsFollowedAndItsTargetReplaced) {
    fs::create_directories(dir_ / "real");
    fs::create_symlink("real/frame.png", dir_ / "link.png");
    fs::create_symlink("real/none_yet.png", dir_ / "dangling.png");
    ASSERT_EQ(Shell(std::string(kSmall) + " -o link.png").status, 0);
    ASSERT_EQ(Shell(std::string(kSmall) + " -o dangling.png").status, 0);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.png"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.png"));
    EXPECT_EQ(ReadPng(Path("real/frame.png")).image.width, 24);
    EXPECT_EQ(ReadPng(Path("real/none_yet.png")).image.width, 24);
    EXPECT_EQ(Files("real"), (std::vector<std::string>{"frame.png", "none_yet.png"}));
}

TEST_F(CliEnvironmentTest, LongestFileNameIsWritten) {
    const std::string name = std::string(251, 'n') + ".png";  // 255 bytes, the limit
    const Ran ran = Shell(std::string(kSmall) + " -o " + name);
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(Files(), std::vector<std::string>{name});
}

TEST_F(CliEnvironmentTest, FullDiskFailsAndLeavesNothing) {
    // The frame is written once where there is room, to learn its size; then to a small file
    // system with one page less free than it needs, so that only its last bytes find no room.
    for (const char* kind : {"exr", "png"}) {
        SCOPED_TRACE(kind);
        const std::string frame = std::string("frame.") + kind;
        const std::string render =
            std::string("$TOOL --size 64x36 --depth ") + (kind[0] == 'e' ? "32" : "16") + " -o ";
        ASSERT_EQ(Shell(render + frame).status, 0);
        const auto size = fs::file_size(dir_ / frame);
        fs::remove(dir_ / frame);
        const auto pages = (size + 4095) / 4096;
        const int total = 64;
        fs::create_directories(dir_ / "disk");
        Ran ran;
        const std::string line =
            "mount -t tmpfs -o size=" + std::to_string(total * 4) + "k none disk && " + "head -c " +
            std::to_string((total - pages + 1) * 4096) + " /dev/zero > disk/fill && " + render +
            "disk/" + frame + "; echo $?; ls -A disk";
        if (!InMountNamespace(line, &ran)) SKIP_WITHOUT_NAMESPACE();
        EXPECT_EQ(ran.out, "1\nfill\n");
        EXPECT_EQ(ran.ErrLineCount(), 1);
        EXPECT_NE(ran.err.find("No space left on device"), std::string::npos) << ran.err;
    }
}

TEST_F(CliEnvironmentTest, FifosAndPipesAreReadOnce) {
    FloatImage sky(16, 8);
    for (size_t i = 0; i < sky.rgba.size(); i += 4) {
        sky.rgba[i] = sky.rgba[i + 1] = sky.rgba[i + 2] = 2.0f;
        sky.rgba[i + 3] = 1.0f;
    }
    WriteRadianceHdr(Path("sky.hdr"), sky);
    WritePng(Path("plate.png"), sky, 8);
    ASSERT_EQ(Shell(std::string(kSmall) + " --save-scene scene.json").status, 0);
    // A FIFO whose writer goes away once it has written the file.
    Ran ran = Shell("mkfifo sky.fifo && (cat sky.hdr > sky.fifo &) && " + std::string(kSmall) +
                    " --hdri sky.fifo -o a.png");
    EXPECT_EQ(ran.status, 0) << ran.err;
    ran = Shell(std::string(kSmall) + " --hdri <(cat sky.hdr) -o b.png");
    EXPECT_EQ(ran.status, 0) << ran.err;
    ran = Shell(std::string(kSmall) + " --input <(cat plate.png) -o c.png");
    EXPECT_EQ(ran.status, 0) << ran.err;
    ran = Shell("$TOOL --scene /dev/stdin -o d.png < scene.json");
    EXPECT_EQ(ran.status, 0) << ran.err;
    ran = Shell("cat a.png | $TOOL --scene /dev/stdin --save-scene again.json");
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_NE(ReadFile(dir_ / "again.json").find("sky.fifo"), std::string::npos);
    // The output is checked before any image is read: a FIFO no one writes is never waited for.
    ran = Shell("mkfifo silent.fifo && " + std::string(kSmall) +
                " --hdri silent.fifo -o no/such/dir/x.png");
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("cannot write"), std::string::npos) << ran.err;
}

TEST_F(CliEnvironmentTest, FullOrClosedStandardOutputFails) {
    for (const char* line : {"$TOOL --help > /dev/full", "$TOOL --version > /dev/full",
                             "$TOOL --list-params > /dev/full", "$TOOL --list-params >&-",
                             "$TOOL --save-scene - > /dev/full"}) {
        const Ran ran = Shell(line);
        EXPECT_EQ(ran.status, 1) << line;
        EXPECT_EQ(ran.ErrLineCount(), 1) << line << ": " << ran.err;
    }
}

TEST_F(CliEnvironmentTest, FramesPastTheHostsTimeAreRefused) {
    std::ofstream(Path("ntsc.json")) << R"({"frame_rate": 29.97})";
    // 2145338 x 1001 fits in 31 bits; one frame more does not.
    Ran ran = Shell("$TOOL --scene ntsc.json --frames 3000000 -o f.png");
    EXPECT_EQ(ran.status, 2);
    EXPECT_NE(ran.err.find("the last frame it can time is 2145338"), std::string::npos) << ran.err;
    ran = Shell("$TOOL --scene ntsc.json --size 8x6 --frames 2145338 -o f.png");
    EXPECT_EQ(ran.status, 0) << ran.err;
}

TEST_F(CliEnvironmentTest, KeyAtAFrameTakesEffectOnThatFrame) {
    // A switch keyed off at frame 9 and on at frame 10 holds between keys: frame 10 must render
    // as the switch on, at broadcast rates as at whole ones.
    ASSERT_EQ(Shell(std::string(kSmall) + " --set 'Julia Mode=on' -o on.png").status, 0);
    ASSERT_EQ(Shell(std::string(kSmall) + " -o off.png").status, 0);
    ASSERT_NE(ReadPng(Path("on.png")).image.rgba, ReadPng(Path("off.png")).image.rgba);
    for (const char* rate : {"29.97", "23.976", "59.94", "30"}) {
        SCOPED_TRACE(rate);
        std::ofstream(Path("keyed.json"))
            << R"({"frame_rate": )" << rate << R"(, "params": {"Julia Mode": {"keys": [)"
            << R"({"frame": 9, "value": false}, {"frame": 10, "value": true}]}}})";
        const Ran ran = Shell(std::string(kSmall) + " --scene keyed.json --frames 10 -o k.png");
        ASSERT_EQ(ran.status, 0) << ran.err;
        EXPECT_EQ(ReadPng(Path("k.png")).image.rgba, ReadPng(Path("on.png")).image.rgba);
    }
}

TEST_F(CliEnvironmentTest, NamesThatAreNotUtf8) {
    FloatImage sky(8, 4);
    for (float& v : sky.rgba) v = 1.0f;
    const std::string latin1 = "ciel_\xe9t\xe9.hdr";
    WriteRadianceHdr(Path(latin1), sky);
    // The frame is written, without the scene it cannot carry, and the user told once.
    Ran ran = Shell(std::string(kSmall) + " --hdri " + ShellQuote(latin1) + " -o out.png");
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.ErrLineCount(), 1);
    EXPECT_NE(ran.err.find("not embedded"), std::string::npos) << ran.err;
    EXPECT_EQ(ReadPng(Path("out.png")).image.width, 24);
    // A scene file is all the scene: one that cannot be written is refused.
    ran = Shell(std::string(kSmall) + " --hdri " + ShellQuote(latin1) + " --save-scene s.json");
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("not UTF-8"), std::string::npos) << ran.err;
    EXPECT_FALSE(fs::exists(dir_ / "s.json"));
}

TEST_F(CliEnvironmentTest, LargeScenesComeBackOrAreNotEmbedded) {
    // A light named with 1.3 million accented letters: 2.6 MB as UTF-8, within what a scene may
    // be, and 7.8 MB as \u escapes, which no reader takes.
    std::string name;
    for (int i = 0; i < 1300000; ++i) name += "\xc3\xa9";
    std::ofstream(Path("big.json"))
        << R"({"lights": [{"position": [0, 0, -500], "name": ")" << name << R"("}]})";
    Ran ran = Shell(std::string(kSmall) + " --scene big.json -o big.png");
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.err, "");
    ran = Shell(
        "$TOOL --scene big.png --save-scene again.json && $TOOL --scene again.json "
        "--save-scene third.json");
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ReadFile(dir_ / "again.json"), ReadFile(dir_ / "third.json"));
    // Keys at frames come back at times in seconds, nearly twice as long: 3.2 MB read, over
    // 4 MiB to write. The frame is written without its scene, and no scene file is written.
    std::ofstream keys(Path("keys.json"));
    keys << R"({"frame_rate": 29.97, "params": {"Power": {"keys": [)";
    for (int frame = 0; frame < 140000; ++frame) {
        keys << (frame > 0 ? "," : "") << R"({"frame":)" << frame << R"(,"value":8})";
    }
    keys << "]}}}";
    keys.close();
    ran = Shell(std::string(kSmall) + " --scene keys.json -o keys.exr");
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_NE(ran.err.find("the scene is not embedded in keys.exr"), std::string::npos) << ran.err;
    ran = Shell("$TOOL --scene keys.json --save-scene keys_again.json");
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("a scene file may have"), std::string::npos) << ran.err;
    EXPECT_FALSE(fs::exists(dir_ / "keys_again.json"));
}

TEST_F(CliEnvironmentTest, NonFiniteEnvironmentValuesReadAsZero) {
    FloatImage sky(16, 8);
    for (size_t i = 0; i < sky.rgba.size(); i += 4) {
        sky.rgba[i] = sky.rgba[i + 1] = sky.rgba[i + 2] = 3.0f;
        sky.rgba[i + 3] = 1.0f;
    }
    sky.rgba[4 * 37] = INFINITY;
    sky.rgba[4 * 90 + 1] = NAN;
    WriteExr(Path("sky.exr"), sky);
    const Ran ran = Shell(
        "$TOOL --size 32x18 --depth 32 --linear --hdri sky.exr --set 'HDRI Samples=2' -o "
        "lit.exr");
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_NE(ran.err.find("2 values that are not finite (infinity or NaN) read as 0"),
              std::string::npos)
        << ran.err;
    for (float v : ReadExr(Path("lit.exr")).rgba) ASSERT_TRUE(std::isfinite(v));
}

}  // namespace
