// The host's basic suite: every other suite is acquired and released through it by name and
// version.
#ifndef SPIROVAULT_HOST_SP_BASIC_SUITE_H
#define SPIROVAULT_HOST_SP_BASIC_SUITE_H

#include <cstddef>
#include <cstdint>

typedef int32_t SPErr;
typedef int32_t SPBoolean;

enum { kSPNoError = 0, kSPSuiteNotFoundError = 0x53214664 /* 'S!Fd' */ };

typedef struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, int32_t version);
    SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t new_size, void** new_block);
    SPErr (*Undefined)(void);
} SPBasicSuite;

#endif
