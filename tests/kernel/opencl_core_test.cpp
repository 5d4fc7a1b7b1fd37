// Builds the render core as an OpenCL C 1.2 program with the production build options and
// compares its results with the C++ build of the same source.
//
// Tolerances: the OpenCL build runs with -cl-fast-relaxed-math, which lets the runtime use
// faster sin, cos, pow, log and atan2 of a few ulp error. Six rounds of a power-8 map amplify a
// relative error of ~1e-7 by up to 8 per round, so estimates agree to ~1e-4 relative away from
// the set and may differ more right at its chaotic boundary. A pixel whose rays graze that
// boundary can flip between hit and miss; whole-image agreement is therefore judged by the share
// of pixels within two 8-bit steps and by the mean error, not pixel by pixel.
#define CL_TARGET_OPENCL_VERSION 120
#include <CL/cl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/kernel/render_test_support.h"
#include "tests/support/required_parts.h"

namespace {

constexpr const char* kBuildOptions = "-cl-single-precision-constant -cl-fast-relaxed-math";

std::string ReadFile(const char* path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// One context, queue and built program on the first OpenCL device, shared by the tests.
class OpenClCore : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        cl_uint platforms = 0;
        if (clGetPlatformIDs(0, nullptr, &platforms) != CL_SUCCESS || platforms == 0) return;
        std::vector<cl_platform_id> ids(platforms);
        clGetPlatformIDs(platforms, ids.data(), nullptr);
        for (cl_platform_id platform : ids) {
            if (clGetDeviceIDs(platform, CL_DEVICE_TYPE_ALL, 1, &device_, nullptr) == CL_SUCCESS)
                break;
        }
        if (device_ == nullptr) return;
        cl_int err = CL_SUCCESS;
        context_ = clCreateContext(nullptr, 1, &device_, nullptr, nullptr, &err);
        queue_ = clCreateCommandQueue(context_, device_, 0, &err);
        const std::string source = ReadFile(SPIROVAULT_CORE_PROBE_CL);
        const char* text = source.c_str();
        program_ = clCreateProgramWithSource(context_, 1, &text, nullptr, &err);
        build_status_ = clBuildProgram(program_, 1, &device_, kBuildOptions, nullptr, nullptr);
        size_t log_size = 0;
        clGetProgramBuildInfo(program_, device_, CL_PROGRAM_BUILD_LOG, 0, nullptr, &log_size);
        build_log_.resize(log_size);
        clGetProgramBuildInfo(program_, device_, CL_PROGRAM_BUILD_LOG, log_size, build_log_.data(),
                              nullptr);
    }

    static void TearDownTestSuite() {
        if (program_) clReleaseProgram(program_);
        if (queue_) clReleaseCommandQueue(queue_);
        if (context_) clReleaseContext(context_);
        program_ = nullptr;
        queue_ = nullptr;
        context_ = nullptr;
        device_ = nullptr;
    }

    void SetUp() override {
        if (device_ == nullptr)
            SPIROVAULT_DEVICE_MISSING(true) << "no OpenCL device on this machine";
        ASSERT_EQ(CL_SUCCESS, build_status_) << build_log_;
    }

    cl_mem Buffer(const void* data, size_t bytes) {
        cl_int err = CL_SUCCESS;
        const cl_mem_flags flags =
            data ? CL_MEM_READ_WRITE | CL_MEM_COPY_HOST_PTR : CL_MEM_READ_WRITE;
        cl_mem mem = clCreateBuffer(context_, flags, std::max<size_t>(bytes, 4),
                                    const_cast<void*>(data), &err);
        EXPECT_EQ(CL_SUCCESS, err);
        buffers_.push_back(mem);
        return mem;
    }

    template <typename T>
    std::vector<T> Read(cl_mem mem, size_t count) {
        std::vector<T> out(count);
        EXPECT_EQ(CL_SUCCESS, clEnqueueReadBuffer(queue_, mem, CL_TRUE, 0, count * sizeof(T),
                                                  out.data(), 0, nullptr, nullptr));
        return out;
    }

    void Run(const char* name, std::vector<std::pair<size_t, const void*>> args,
             std::vector<size_t> global) {
        cl_int err = CL_SUCCESS;
        cl_kernel kernel = clCreateKernel(program_, name, &err);
        ASSERT_EQ(CL_SUCCESS, err) << name;
        for (cl_uint i = 0; i < args.size(); ++i) {
            ASSERT_EQ(CL_SUCCESS, clSetKernelArg(kernel, i, args[i].first, args[i].second));
        }
        ASSERT_EQ(CL_SUCCESS, clEnqueueNDRangeKernel(queue_, kernel, global.size(), nullptr,
                                                     global.data(), nullptr, 0, nullptr, nullptr));
        ASSERT_EQ(CL_SUCCESS, clFinish(queue_));
        clReleaseKernel(kernel);
    }

    // Settings as the device reads them: the environment pointer travels as its own argument.
    cl_mem SettingsBuffer(RenderSettings s) {
        s.hdri_pixels = nullptr;
        return Buffer(&s, sizeof s);
    }

    void TearDown() override {
        for (cl_mem mem : buffers_) clReleaseMemObject(mem);
    }

    std::vector<PixelF> RenderOnDevice(const RenderSettings& s) {
        cl_mem settings = SettingsBuffer(s);
        const size_t env_floats = static_cast<size_t>(s.hdri_width) * s.hdri_height * 3;
        cl_mem environment = Buffer(s.hdri_pixels, env_floats * sizeof(float));
        const size_t count = static_cast<size_t>(s.output_width) * s.output_height;
        cl_mem out = Buffer(nullptr, count * sizeof(PixelF));
        Run("RenderPixels",
            {{sizeof settings, &settings}, {sizeof environment, &environment}, {sizeof out, &out}},
            {static_cast<size_t>(s.output_width), static_cast<size_t>(s.output_height)});
        return Read<PixelF>(out, count);
    }

    static cl_device_id device_;
    static cl_context context_;
    static cl_command_queue queue_;
    static cl_program program_;
    static cl_int build_status_;
    static std::string build_log_;
    std::vector<cl_mem> buffers_;
};

cl_device_id OpenClCore::device_ = nullptr;
cl_context OpenClCore::context_ = nullptr;
cl_command_queue OpenClCore::queue_ = nullptr;
cl_program OpenClCore::program_ = nullptr;
cl_int OpenClCore::build_status_ = CL_SUCCESS;
std::string OpenClCore::build_log_;

struct Agreement {
    double within_share;  // share of pixels whose four channels are all within tolerance
    double mean_error;    // mean absolute channel difference
};

Agreement Compare(const std::vector<PixelF>& a, const std::vector<PixelF>& b, float tolerance) {
    size_t within = 0;
    double total = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const float d[4] = {std::fabs(a[i].alpha - b[i].alpha), std::fabs(a[i].red - b[i].red),
                            std::fabs(a[i].green - b[i].green), std::fabs(a[i].blue - b[i].blue)};
        within += *std::max_element(d, d + 4) <= tolerance;
        total += d[0] + d[1] + d[2] + d[3];
    }
    return {static_cast<double>(within) / a.size(), total / (4.0 * a.size())};
}

std::vector<PixelF> RenderOnCpu(const RenderSettings& s) {
    std::vector<PixelF> out;
    for (int y = 0; y < s.output_height; ++y) {
        for (int x = 0; x < s.output_width; ++x) out.push_back(RenderPixel(s, x, y));
    }
    return out;
}

TEST_F(OpenClCore, SettingsRecordHasTheSameLayoutOnTheDevice) {
    cl_mem out = Buffer(nullptr, 6 * sizeof(int));
    Run("SettingsLayout", {{sizeof out, &out}}, {1});
    const std::vector<int> layout = Read<int>(out, 6);
    EXPECT_EQ(static_cast<int>(sizeof(RenderSettings)), layout[0]);
    EXPECT_EQ(40, layout[1]);
    EXPECT_EQ(328, layout[2]);
    EXPECT_EQ(static_cast<int>(offsetof(RenderSettings, comp_lights)), layout[3]);
    EXPECT_EQ(static_cast<int>(offsetof(RenderSettings, ramp)), layout[4]);
    EXPECT_EQ(static_cast<int>(offsetof(RenderSettings, hdri_pixels)), layout[5]);
}

TEST_F(OpenClCore, EstimatesAgreeWithTheCpuBuild) {
    std::vector<float> points;
    for (int i = 0; i < 9; ++i) {
        for (int j = 0; j < 9; ++j) {
            for (int k = 0; k < 9; ++k) {
                points.insert(points.end(),
                              {-1.3f + 0.31f * i, -1.25f + 0.3f * j, -1.2f + 0.29f * k});
            }
        }
    }
    const int count = static_cast<int>(points.size() / 3);
    RenderSettings variants[3] = {DefaultSettings(), DefaultSettings(), DefaultSettings()};
    variants[1].julia_mode = 1;
    variants[1].julia_c[0] = 0.35f;
    variants[1].julia_c[1] = -0.2f;
    variants[2].radiolaria = 1;
    variants[2].radiolaria_factor = 0.2f;
    variants[2].phase_x = 0.4f;
    variants[2].phase_y = -0.25f;
    for (const RenderSettings& s : variants) {
        cl_mem settings = SettingsBuffer(s);
        cl_mem in = Buffer(points.data(), points.size() * sizeof(float));
        cl_mem out = Buffer(nullptr, 2 * count * sizeof(float));
        Run("EstimateAtPoints",
            {{sizeof settings, &settings},
             {sizeof in, &in},
             {sizeof out, &out},
             {sizeof count, &count}},
            {static_cast<size_t>(count)});
        const std::vector<float> device = Read<float>(out, 2 * count);
        int close = 0;
        for (int i = 0; i < count; ++i) {
            float trap = 4.0f;
            const float d = EstimateDistance(
                MakeVec3(points[3 * i], points[3 * i + 1], points[3 * i + 2]), &trap, &s);
            close += std::fabs(device[2 * i] - d) <= 1e-3f * std::fabs(d) + 1e-5f &&
                     std::fabs(device[2 * i + 1] - trap) <= 1e-3f * trap + 1e-5f;
        }
        std::printf("estimates within tolerance: %d of %d\n", close, count);
        EXPECT_GE(close, count * 98 / 100)
            << "julia " << s.julia_mode << " radiolaria " << s.radiolaria;
    }
}

TEST_F(OpenClCore, WholePixelsAgreeWithTheCpuBuild) {
    RenderSettings plain = DefaultSettings(32, 18);
    RenderSettings featured = plain;
    featured.ao_type = kAoTypeRaytraced;
    featured.light_size = 4;
    featured.supersampling = 2;
    featured.julia_mode = 1;
    featured.julia_c[0] = 0.3f;
    float sky[4 * 2 * 3];
    for (int i = 0; i < 24; ++i) sky[i] = 0.1f * (i % 7);
    featured.hdri_pixels = sky;
    featured.hdri_width = 4;
    featured.hdri_height = 2;
    featured.hdri_samples = 4;
    featured.hdri_specular = 1;
    for (const RenderSettings* s : {&plain, &featured}) {
        const Agreement agreement = Compare(RenderOnDevice(*s), RenderOnCpu(*s), 2.0f / 255.0f);
        std::printf("pixels within 2/255: %.1f %%, mean channel error %.2e\n",
                    100 * agreement.within_share, agreement.mean_error);
        EXPECT_GE(agreement.within_share, 0.95) << "hdri " << s->hdri_width;
        EXPECT_LE(agreement.mean_error, 0.01) << "hdri " << s->hdri_width;
    }
}

}  // namespace
