// The host's basic suite: every other suite is acquired and released through it by name and
// version.
#ifndef SPIROVAULT_HOST_SP_BASIC_SUITE_H
#define SPIROVAULT_HOST_SP_BASIC_SUITE_H

#include <cstddef>
#include <cstdint>

typedef int32_t SPErr;
typedef uint8_t SPBoolean;
#define SPAPI

enum { kSPNoError = 0, kSPSuiteNotFoundError = 0x53214664 /* 'S!Fd' */ };

typedef struct SPBasicSuite {
    SPAPI SPErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    SPAPI SPErr (*ReleaseSuite)(const char* name, int32_t version);
    SPAPI SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPAPI SPErr (*AllocateBlock)(size_t size, void** block);
    SPAPI SPErr (*FreeBlock)(void* block);
    SPAPI SPErr (*ReallocateBlock)(void* block, size_t new_size, void** new_block);
    SPAPI SPErr (*Undefined)(void);
} SPBasicSuite;

#endif
