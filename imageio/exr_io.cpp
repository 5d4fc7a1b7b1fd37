#include "imageio/exr_io.h"

#include <OpenEXR/IexBaseExc.h>
#include <OpenEXR/ImfChannelList.h>
#include <OpenEXR/ImfFrameBuffer.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfOutputFile.h>
#include <OpenEXR/ImfStandardAttributes.h>
#include <OpenEXR/ImfStdIO.h>
#include <OpenEXR/ImfStringAttribute.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "imageio/atomic_file.h"
#include "imageio/exr_claims.h"
#include "imageio/image_budget.h"
#include "imageio/printable.h"

namespace imageio {

namespace {

constexpr float kUnpremultiplyFloor = 1e-6f;
constexpr int kRowsPerBand = 64;

// The library's output through a C stream, every write checked. The library writes its line
// offsets from its destructor and swallows any error there, so a failure is also kept here for
// the writer to find afterwards.
class CheckedOStream : public Imf::OStream {
  public:
    explicit CheckedOStream(AtomicFile& out) : Imf::OStream(out.temp_path().c_str()), out_(out) {}

    void write(const char c[], int n) override {
        if (error_ == 0 &&
            std::fwrite(c, 1, static_cast<size_t>(n), out_.stream()) != static_cast<size_t>(n)) {
            error_ = errno != 0 ? errno : EIO;
        }
        if (error_ != 0) out_.Fail(error_);
    }
    // Called from the library's destructor outside its own catch: a failure is only kept.
    uint64_t tellp() override {
        const off_t at = ftello(out_.stream());
        if (at < 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
        return at < 0 ? 0 : static_cast<uint64_t>(at);
    }
    void seekp(uint64_t pos) override {
        if (fseeko(out_.stream(), static_cast<off_t>(pos), SEEK_SET) != 0) Failed(errno);
    }
    // Throws the first failure, if any.
    void Check() const {
        if (error_ != 0) out_.Fail(error_);
    }

  private:
    [[noreturn]] void Failed(int error) {
        if (error_ == 0) error_ = error != 0 ? error : EIO;
        out_.Fail(error_);
    }

    AtomicFile& out_;
    int error_ = 0;
};

// A whole file in memory, for the library's reading.
class MemoryIStream : public Imf::IStream {
  public:
    MemoryIStream(const std::vector<uint8_t>& bytes, const std::string& name)
        : Imf::IStream(name.c_str()), bytes_(bytes) {}
    bool read(char c[], int n) override {
        if (n < 0 || static_cast<uint64_t>(n) > bytes_.size() - at_) {
            throw Iex::InputExc("unexpected end of file");
        }
        std::memcpy(c, bytes_.data() + at_, static_cast<size_t>(n));
        at_ += static_cast<uint64_t>(n);
        return at_ < bytes_.size();
    }
    uint64_t tellg() override { return at_; }
    void seekg(uint64_t pos) override { at_ = std::min<uint64_t>(pos, bytes_.size()); }

  private:
    const std::vector<uint8_t>& bytes_;
    uint64_t at_ = 0;
};

// Opens the file by name, or from `bytes` when given.
struct ExrSource {
    const std::string& path;
    const std::vector<uint8_t>* bytes = nullptr;

    ExrClaims Claims() const { return bytes ? ReadExrClaims(*bytes, path) : ReadExrClaims(path); }
};

// The library's reader over the source; the memory stream lives as long as the reader.
struct OpenedExr {
    explicit OpenedExr(const ExrSource& source) {
        if (source.bytes) memory.emplace(*source.bytes, source.path);
        file = memory ? std::make_unique<Imf::InputFile>(*memory)
                      : std::make_unique<Imf::InputFile>(source.path.c_str());
    }
    std::optional<MemoryIStream> memory;
    std::unique_ptr<Imf::InputFile> file;
};

FloatImage ReadExrFrom(const ExrSource& source);
std::string SceneAttributeFrom(const ExrSource& source);

}  // namespace

FloatImage ReadExr(const std::string& path) {
    return ReadExrFrom(ExrSource{path});
}

FloatImage DecodeExr(const std::vector<uint8_t>& bytes, const std::string& name) {
    return ReadExrFrom(ExrSource{name, &bytes});
}

std::string ReadExrSceneAttribute(const std::string& path) {
    return SceneAttributeFrom(ExrSource{path});
}

std::string ExrSceneAttribute(const std::vector<uint8_t>& bytes, const std::string& name) {
    return SceneAttributeFrom(ExrSource{name, &bytes});
}

namespace {

FloatImage ReadExrFrom(const ExrSource& source) {
    const std::string& path = source.path;
    // The header's claims are checked before the library reads the file: it sizes its tables
    // by the data window.
    const ExrClaims claims = source.Claims();
    CheckClaimedImageSize(path, claims.width, claims.height);
    CheckClaimedData(path, claims.width, claims.height, LeastExrFileBytes(claims),
                     claims.file_bytes);
    static const bool limited = [] {
        Imf::Header::setMaxImageSize(kMaxImageSide, kMaxImageSide);
        Imf::Header::setMaxTileSize(kMaxImageSide, kMaxImageSide);
        return true;
    }();
    (void)limited;
    try {
        const OpenedExr opened(source);
        Imf::InputFile& file = *opened.file;
        const Imath::Box2i window = file.header().dataWindow();
        const long long width = static_cast<long long>(window.max.x) - window.min.x + 1;
        const long long height = static_cast<long long>(window.max.y) - window.min.y + 1;
        CheckClaimedImageSize(path, width, height);
        if (!file.isComplete()) {
            throw ImageError("cannot read " + path + ": size " + std::to_string(width) + " x " +
                             std::to_string(height) + ", but the file holds only part of it");
        }
        const Imf::ChannelList& channels = file.header().channels();
        const bool has_rgb =
            channels.findChannel("R") || channels.findChannel("G") || channels.findChannel("B");
        const bool grey = !has_rgb && channels.findChannel("Y");
        if (!has_rgb && !grey) {
            throw ImageError("cannot read " + path + ": no R, G, B or Y channel");
        }
        FloatImage image(static_cast<int>(width), static_cast<int>(height));
        // The slices address the data window's origin, as OpenEXR expects.
        const size_t pixel = 4 * sizeof(float);
        const size_t row = pixel * static_cast<size_t>(width);
        char* origin = reinterpret_cast<char*>(image.rgba.data()) -
                       static_cast<ptrdiff_t>(window.min.x) * static_cast<ptrdiff_t>(pixel) -
                       static_cast<ptrdiff_t>(window.min.y) * static_cast<ptrdiff_t>(row);
        Imf::FrameBuffer frame;
        const char* names[3] = {"R", "G", "B"};
        for (int c = 0; c < 3; ++c) {
            frame.insert(grey ? "Y" : names[c],
                         Imf::Slice(Imf::FLOAT, origin + c * sizeof(float), pixel, row, 1, 1, 0.0));
        }
        frame.insert("A",
                     Imf::Slice(Imf::FLOAT, origin + 3 * sizeof(float), pixel, row, 1, 1, 1.0));
        file.setFrameBuffer(frame);
        file.readPixels(window.min.y, window.max.y);
        for (size_t i = 0; i < image.rgba.size(); i += 4) {
            const float alpha = image.rgba[i + 3];
            if (alpha > kUnpremultiplyFloor && alpha != 1.0f) {
                for (int c = 0; c < 3; ++c) image.rgba[i + c] /= alpha;
            }
        }
        return image;
    } catch (const ImageError&) {
        throw;
    } catch (const std::exception& e) {
        // The library's messages quote names from the file.
        throw ImageError("cannot read " + path + ": " + Printable(e.what()));
    }
}

}  // namespace

void WriteExr(const std::string& path, const FloatImage& image, const ImageMetadata& metadata) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        throw ImageError("cannot write " + path + ": invalid image");
    }
    AtomicFile out(path);
    try {
        Imf::Header header(image.width, image.height);
        header.compression() = Imf::ZIP_COMPRESSION;
        // The default chromaticities are the sRGB (Rec. 709) primaries and D65 white; data has
        // no primaries, so that no application colour-manages it.
        switch (metadata.exr_content) {
            case ExrContent::kLinear:
                Imf::addChromaticities(header, Imf::Chromaticities());
                Imf::addComments(header, "linear light, sRGB primaries");
                break;
            case ExrContent::kDisplayEncoded:
                Imf::addChromaticities(header, Imf::Chromaticities());
                Imf::addComments(header,
                                 "display-encoded: the sRGB transfer function is applied (not "
                                 "linear light), sRGB primaries");
                break;
            case ExrContent::kData:
                Imf::addComments(header,
                                 "data, not colour: a depth map as rendered, through no transfer "
                                 "function");
                break;
        }
        if (!metadata.scene.empty()) {
            header.insert(kSceneExrAttribute, Imf::StringAttribute(metadata.scene));
        }
        const char* names[4] = {"R", "G", "B", "A"};
        for (const char* name : names) header.channels().insert(name, Imf::Channel(Imf::FLOAT));
        CheckedOStream stream(out);
        {
            Imf::OutputFile file(stream, header);
            // Premultiplied a band of rows at a time, so a large frame is not copied whole.
            const int band = std::min(image.height, kRowsPerBand);
            const size_t pixel = 4 * sizeof(float);
            const size_t row = pixel * static_cast<size_t>(image.width);
            std::vector<float> premultiplied(static_cast<size_t>(band) * image.width * 4);
            for (int y0 = 0; y0 < image.height; y0 += band) {
                const int rows = std::min(band, image.height - y0);
                const float* src = image.Pixel(0, y0);
                for (size_t i = 0; i < static_cast<size_t>(rows) * image.width * 4; i += 4) {
                    const float alpha = src[i + 3];
                    for (int c = 0; c < 3; ++c) premultiplied[i + c] = src[i + c] * alpha;
                    premultiplied[i + 3] = alpha;
                }
                // The slices address row 0 of the image; this band holds rows y0 on.
                char* base = reinterpret_cast<char*>(premultiplied.data()) -
                             static_cast<ptrdiff_t>(y0) * static_cast<ptrdiff_t>(row);
                Imf::FrameBuffer frame;
                for (int c = 0; c < 4; ++c) {
                    frame.insert(names[c],
                                 Imf::Slice(Imf::FLOAT, base + c * sizeof(float), pixel, row));
                }
                file.setFrameBuffer(frame);
                file.writePixels(rows);
            }
        }  // the file's end (its line offsets) is written here
        stream.Check();
    } catch (const ImageError&) {
        throw;
    } catch (const std::exception& e) {
        throw ImageError("cannot write " + path + ": " + e.what());
    }
    out.Commit();
}

namespace {

std::string SceneAttributeFrom(const ExrSource& source) {
    const std::string& path = source.path;
    // Every attribute's size is checked before the library reads them all.
    const ExrClaims claims = source.Claims();
    if (claims.scene_bytes > kMaxEmbeddedSceneBytes) {
        throw ImageError("cannot read the scene of " + path + ": it is " +
                         std::to_string(claims.scene_bytes) + " bytes, more than the " +
                         std::to_string(kMaxEmbeddedSceneBytes) + " a scene may have");
    }
    try {
        const OpenedExr opened(source);
        Imf::InputFile& file = *opened.file;
        const auto* scene =
            file.header().findTypedAttribute<Imf::StringAttribute>(kSceneExrAttribute);
        if (scene == nullptr) {
            throw ImageError("cannot read the scene of " + path + ": the OpenEXR carries none");
        }
        return scene->value();
    } catch (const ImageError&) {
        throw;
    } catch (const std::exception& e) {
        throw ImageError("cannot read the scene of " + path + ": " + Printable(e.what()));
    }
}

}  // namespace

}  // namespace imageio
