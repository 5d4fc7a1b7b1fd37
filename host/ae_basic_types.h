// The host SDK's basic scalar types and error codes, under the SDK's names.
#ifndef SPIROVAULT_HOST_AE_BASIC_TYPES_H
#define SPIROVAULT_HOST_AE_BASIC_TYPES_H

#include <cstdint>

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef uint8_t A_u_char;
typedef char A_char;
typedef double A_FpLong;
typedef float A_FpShort;
typedef int32_t A_Err;
typedef A_long PF_Err;
typedef A_FpLong PF_FpLong;
typedef A_FpShort PF_FpShort;
typedef A_long PF_Fixed;

enum {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    A_Err_MISSING_SUITE = 13,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
    PF_Err_UNRECOGNIZED_PARAM_TYPE = 514,
    PF_Err_BAD_CALLBACK_PARAM = 516,
};

#endif
