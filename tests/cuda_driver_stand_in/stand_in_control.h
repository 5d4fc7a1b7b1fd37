// The test-side controls of the stand-in CUDA driver: a shared library with the driver's entry
// points that records every call and can be told to fail any of them. It is loaded in place of
// the real driver (nvcuda.dll, libcuda.so.1) by processes that link it: the plug-in's run-time
// lookup of the driver by name then finds this library, already loaded.
#ifndef SPIROVAULT_TESTS_CUDA_DRIVER_STAND_IN_STAND_IN_CONTROL_H
#define SPIROVAULT_TESTS_CUDA_DRIVER_STAND_IN_STAND_IN_CONTROL_H

#include <stddef.h>

#if defined(_WIN32)
#define STAND_IN_EXPORT __declspec(dllexport)
#else
#define STAND_IN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// One cuLaunchKernel call as the driver received it.
struct StandInLaunch {
    int result;  // what the call returned
    void* function;
    void* context;  // current on the launching thread
    unsigned int grid[3];
    unsigned int block[3];
    unsigned int shared_bytes;
    void* stream;
    int had_kernel_params;  // arguments as an array of pointers (not recorded)
    size_t param_bytes;     // arguments as one buffer (CU_LAUNCH_PARAM_BUFFER_POINTER)
    unsigned char params[1024];
};

// One cuMemcpyHtoD_v2 call; the bytes of copies up to kStandInCopyBytes long are kept.
enum { kStandInCopyBytes = 65536 };

// Forgets every record and failure and sets the devices the driver offers (ordinal 0 up) and
// their compute capability. Allocations, modules and contexts stay as they are.
STAND_IN_EXPORT void StandInReset(int device_count, int major, int minor);

// The call to `entry_point` after `skip` more successful ones returns `result`, once.
STAND_IN_EXPORT void StandInFail(const char* entry_point, int skip, int result);

STAND_IN_EXPORT int StandInCallCount(const char* entry_point);
// Every call since the reset in the order made: how many, and the entry point of each.
STAND_IN_EXPORT int StandInCallOrderLength(void);
STAND_IN_EXPORT const char* StandInCallAt(int position);

STAND_IN_EXPORT int StandInLaunchCount(void);
STAND_IN_EXPORT int StandInGetLaunch(int index, StandInLaunch* launch);

// Modules loaded since the reset: each one's image (as many bytes as its fat binary header
// says) and whether it has been unloaded since.
STAND_IN_EXPORT int StandInModuleCount(void);
STAND_IN_EXPORT size_t StandInModuleImage(int index, void* bytes, size_t capacity);
STAND_IN_EXPORT int StandInModuleUnloaded(int index);
STAND_IN_EXPORT void* StandInModuleContext(int index);

STAND_IN_EXPORT int StandInCopyCount(void);
// The copy's destination and size; its bytes (up to `capacity`) when they were kept.
STAND_IN_EXPORT size_t StandInGetCopy(int index, unsigned long long* destination, void* bytes,
                                      size_t capacity);

STAND_IN_EXPORT int StandInLiveAllocations(void);

}  // extern "C"

#endif
