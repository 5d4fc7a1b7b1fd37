// Cross-built and run under Wine: the Windows image files (PNG through stb, atomic writes
// through MoveFileEx) round trip, refuse damaged files by name and leave nothing half-written.
//   spirovault-image-io-check SCRATCH_DIRECTORY
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "imageio/atomic_file.h"
#include "imageio/png_io.h"

namespace fs = std::filesystem;

namespace {

using namespace imageio;

int failures = 0;
int passes = 0;

void Check(bool ok, const std::string& what) {
    (ok ? passes : failures) += 1;
    if (!ok) std::printf("FAILED: %s\n", what.c_str());
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ImageError& e) {
        return e.what();
    }
    return "";
}

// Every sample a whole step of the depth, so that a round trip must be exact.
FloatImage Steps(int width, int height, int top) {
    FloatImage image(width, height);
    for (size_t i = 0; i < image.rgba.size(); ++i) {
        image.rgba[i] = static_cast<float>((i * 7919) % (top + 1)) / static_cast<float>(top);
    }
    return image;
}

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

void Run(const fs::path& dir) {
    for (int depth : {8, 16}) {
        const FloatImage image = Steps(37, 5, depth == 8 ? 255 : 65535);
        const std::string path = (dir / ("steps" + std::to_string(depth) + ".png")).string();
        WritePng(path, image, depth);
        const DecodedPng back = ReadPng(path);
        Check(back.bit_depth == depth && back.image.width == 37 && back.image.height == 5 &&
                  back.image.rgba == image.rgba,
              std::to_string(depth) + "-bit PNG round trips exactly");
    }

    const std::string text = (dir / "not.png").string();
    std::ofstream(text) << "not a picture";
    Check(ErrorOf([&] { ReadPng(text); }).find(text) != std::string::npos,
          "a file that is no PNG is refused by name");
    const std::string cut = (dir / "cut.png").string();
    {
        std::ifstream in((dir / "steps8.png").string(), std::ios::binary);
        std::vector<char> bytes(60);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::ofstream(cut, std::ios::binary).write(bytes.data(), in.gcount());
    }
    Check(ErrorOf([&] { ReadPng(cut); }).find("damaged PNG") != std::string::npos,
          "a truncated PNG is refused as damaged");

    const FloatImage small = Steps(4, 4, 255);
    Check(ErrorOf([&] {
              WritePng((dir / "no" / "such" / "x.png").string(), small, 8);
          }).find("cannot write") != std::string::npos,
          "a missing directory is refused");
    Check(ErrorOf([&] { WritePng(dir.string(), small, 8); }).find("Is a directory") !=
              std::string::npos,
          "a directory is not overwritten");

    // Replacing an existing file works; an abandoned write keeps it and leaves no temporary.
    const std::string keep = (dir / "steps8.png").string();
    WritePng(keep, small, 8);
    Check(ReadPng(keep).image.width == 4, "an existing file is replaced whole");
    const auto size = fs::file_size(keep);
    {
        AtomicFile abandoned(keep);
        std::ofstream(abandoned.temp_path()) << "half";
    }
    Check(fs::file_size(keep) == size, "an abandoned write keeps the old file");
    fs::remove(text);
    fs::remove(cut);
    const std::vector<std::string> left = Entries(dir);
    Check(left.size() == 2, "no temporary file is left behind");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCRATCH_DIRECTORY\n", argv[0]);
        return 2;
    }
    const fs::path dir = fs::path(argv[1]) / "spirovault-image-io-check";
    try {
        fs::remove_all(dir);
        fs::create_directories(dir);
        Run(dir);
    } catch (const std::exception& error) {
        std::printf("FAILED: %s\n", error.what());
        ++failures;
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    std::printf("image io check: %d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
