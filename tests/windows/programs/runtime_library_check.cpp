// Cross-built and run under Wine: the Windows loading of optional libraries. A missing DLL, or
// one without the OpenCL entry points, gives no OpenCL table, so OpenCL devices are declined.
#include <cstdio>
#include <string>

#include "platform/opencl_runtime.h"
#include "platform/runtime_library.h"

using namespace spirovault;

namespace {

int failures = 0;
int passes = 0;

void Check(bool ok, const char* what) {
    (ok ? passes : failures) += 1;
    if (!ok) std::printf("FAILED: %s\n", what);
}

}  // namespace

int main() {
    const std::string missing_name = "spirovault-no-such-library.dll";
    const RuntimeLibrary missing(missing_name);
    Check(!missing.opened() && missing.error().find(missing_name) != std::string::npos,
          "a missing DLL is not opened and its name is reported");
    Check(missing.Symbol("clBuildProgram") == nullptr, "a missing DLL has no symbols");

    const RuntimeLibrary kernel32("kernel32.dll");
    Check(kernel32.opened() && kernel32.Symbol("GetProcAddress") != nullptr,
          "a system DLL opens and resolves its exports");
    Check(kernel32.Symbol("clBuildProgram") == nullptr, "an absent export resolves to null");

    Check(OpenClLibrary::Load(missing_name) == nullptr, "no OpenCL table without the DLL");
    Check(OpenClLibrary::Load("kernel32.dll") == nullptr,
          "no OpenCL table from a DLL lacking the entry points");

    // Wine may or may not provide OpenCL.dll; either way the answer must be a whole table or none.
    std::printf("system %s: %s\n", kSystemOpenClLibrary,
                OpenClRuntime() != nullptr ? "complete table" : "not available");
    std::printf("runtime library check: %d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
