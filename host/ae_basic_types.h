// The host SDK's basic scalar types and error codes, under the SDK's names.
#ifndef SPIROVAULT_HOST_AE_BASIC_TYPES_H
#define SPIROVAULT_HOST_AE_BASIC_TYPES_H

#include <cstddef>
#include <cstdint>

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef uint8_t A_u_char;
typedef char A_char;
typedef uint8_t A_Boolean;
typedef uint64_t A_u_longlong;
typedef intptr_t A_intptr_t;
typedef double A_FpLong;
typedef float A_FpShort;
typedef int32_t A_Err;
typedef A_long PF_Err;
typedef A_FpLong PF_FpLong;
typedef A_FpShort PF_FpShort;
typedef A_long PF_Fixed;
typedef int8_t PF_Boolean;
typedef A_u_longlong A_HandleSize;

// Host memory handle: the host owns the block; the plug-in locks it for every access.
typedef struct _PF_HandleOpaque* PF_Handle;
typedef PF_Handle PF_ArbitraryH;
// The host's token for one effect instance, passed back in every callback.
typedef struct _PF_ProgressInfo* PF_ProgPtr;
typedef struct _PF_ContextOpaque* PF_ContextH;

typedef A_long PF_ParamIndex;
typedef A_long PF_ParamValue;

enum {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    A_Err_NONE = 0,
    A_Err_GENERIC = 1,
    A_Err_PARAMETER = 3,
    A_Err_MISSING_SUITE = 13,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
    PF_Err_INVALID_INDEX = 513,
    PF_Err_UNRECOGNIZED_PARAM_TYPE = 514,
    PF_Err_INVALID_CALLBACK = 515,
    PF_Err_BAD_CALLBACK_PARAM = 516,
    PF_Interrupt_CANCEL = 517,
    PF_Err_CANNOT_PARSE_KEYFRAME_TEXT = 518,
};

// Four-character codes are stored as 32-bit numbers, first character in the top byte.
constexpr A_long PF_FourCharCode(const char (&code)[5]) {
    return static_cast<A_long>((static_cast<A_u_long>(static_cast<A_u_char>(code[0])) << 24) |
                               (static_cast<A_u_long>(static_cast<A_u_char>(code[1])) << 16) |
                               (static_cast<A_u_long>(static_cast<A_u_char>(code[2])) << 8) |
                               static_cast<A_u_long>(static_cast<A_u_char>(code[3])));
}

#endif
