// The OpenCL table the plug-in resolves at run time instead of linking OpenCL.
#include "platform/opencl_runtime.h"

#include <gtest/gtest.h>

#include "platform/runtime_library.h"

using namespace spirovault;

TEST(RuntimeLibrary, MissingLibraryIsNotOpenedAndSaysWhich) {
    const RuntimeLibrary library("libspirovault-no-such-library.so");
    EXPECT_FALSE(library.opened());
    EXPECT_NE(library.error().find("libspirovault-no-such-library.so"), std::string::npos);
    EXPECT_EQ(library.Symbol("clBuildProgram"), nullptr);
}

// A device on a machine without OpenCL, or with a library lacking part of the interface, must
// be declined rather than crash at the first missing call.
TEST(OpenClLibrary, MissingLibraryOrEntryPointGivesNoTable) {
    EXPECT_EQ(OpenClLibrary::Load("libspirovault-no-such-library.so"), nullptr);
    EXPECT_EQ(OpenClLibrary::Load("libm.so.6"), nullptr);
}

TEST(OpenClLibrary, SystemLibraryGivesACompleteTableOnce) {
    const OpenClApi* table = OpenClRuntime();
    ASSERT_NE(table, nullptr) << "no " << kSystemOpenClLibrary << " on this machine";
    EXPECT_EQ(OpenClRuntime(), table);
    const void* const entries[] = {
        reinterpret_cast<const void*>(table->CreateProgramWithSource),
        reinterpret_cast<const void*>(table->BuildProgram),
        reinterpret_cast<const void*>(table->ReleaseProgram),
        reinterpret_cast<const void*>(table->CreateKernel),
        reinterpret_cast<const void*>(table->ReleaseKernel),
        reinterpret_cast<const void*>(table->EnqueueWriteBuffer),
        reinterpret_cast<const void*>(table->EnqueueReadBuffer),
        reinterpret_cast<const void*>(table->SetKernelArg),
        reinterpret_cast<const void*>(table->EnqueueNDRangeKernel),
        reinterpret_cast<const void*>(table->EnqueueBarrierWithWaitList)};
    static_assert(sizeof entries == sizeof(OpenClApi), "every entry is checked");
    for (const void* entry : entries) EXPECT_NE(entry, nullptr);
}
