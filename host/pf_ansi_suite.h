// "PF ANSI Suite": the C library helpers the host lends, string formatting among them.
#ifndef SPIROVAULT_HOST_PF_ANSI_SUITE_H
#define SPIROVAULT_HOST_PF_ANSI_SUITE_H

#include "host/ae_basic_types.h"

#define kPFANSISuite "PF ANSI Suite"
#define kPFANSISuiteVersion1 1

// The C library helpers in the host's order; the suite and the older in-data table both hold
// them.
#define SPIROVAULT_ANSI_CALLBACK_MEMBERS                        \
    A_FpLong (*atan)(A_FpLong);                                 \
    A_FpLong (*atan2)(A_FpLong y, A_FpLong x);                  \
    A_FpLong (*ceil)(A_FpLong);                                 \
    A_FpLong (*cos)(A_FpLong);                                  \
    A_FpLong (*exp)(A_FpLong);                                  \
    A_FpLong (*fabs)(A_FpLong);                                 \
    A_FpLong (*floor)(A_FpLong);                                \
    A_FpLong (*fmod)(A_FpLong x, A_FpLong y);                   \
    A_FpLong (*hypot)(A_FpLong x, A_FpLong y);                  \
    A_FpLong (*log)(A_FpLong);                                  \
    A_FpLong (*log10)(A_FpLong);                                \
    A_FpLong (*pow)(A_FpLong x, A_FpLong y);                    \
    A_FpLong (*sin)(A_FpLong);                                  \
    A_FpLong (*sqrt)(A_FpLong);                                 \
    A_FpLong (*tan)(A_FpLong);                                  \
    int (*sprintf)(A_char * buffer, const A_char* format, ...); \
    A_char* (*strcpy)(A_char * dest, const A_char* src);        \
    A_FpLong (*asin)(A_FpLong);                                 \
    A_FpLong (*acos)(A_FpLong);

typedef struct PF_ANSICallbacksSuite1 {
    SPIROVAULT_ANSI_CALLBACK_MEMBERS
} PF_ANSICallbacksSuite1;

#endif
