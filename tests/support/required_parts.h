// A test that needs a device this machine lacks skips, except where every part must be tested:
// with CI set in the environment (not empty, "0" or "false"), a missing OpenCL device fails the
// test, since CI machines carry PoCL's. A CUDA device needs a GPU, which CI machines lack.
//   if (device == nullptr) SPIROVAULT_DEVICE_MISSING(is_opencl) << why;
#ifndef SPIROVAULT_TESTS_SUPPORT_REQUIRED_PARTS_H
#define SPIROVAULT_TESTS_SUPPORT_REQUIRED_PARTS_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace spirovault_test {

inline bool EveryPartRequired() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && *ci != '\0' && std::strcmp(ci, "0") != 0 &&
           std::strcmp(ci, "false") != 0;
}

}  // namespace spirovault_test

// GTEST_SKIP() or GTEST_FAIL() as the case may be, taking the caller's message either way.
#define SPIROVAULT_DEVICE_MISSING(is_opencl)                                                   \
    return ::testing::internal::AssertHelper(                                                  \
               (is_opencl) && ::spirovault_test::EveryPartRequired()                           \
                   ? ::testing::TestPartResult::kFatalFailure                                  \
                   : ::testing::TestPartResult::kSkip,                                         \
               __FILE__, __LINE__,                                                             \
               (is_opencl) && ::spirovault_test::EveryPartRequired()                           \
                   ? "CI needs an OpenCL device (package pocl-opencl-icd, and an ICD file in " \
                     "/etc/OpenCL/vendors)"                                                    \
                   : "") = ::testing::Message()

#endif
