// The extra record of PF_Cmd_ARBITRARY_CALLBACK: which operation the host wants on an
// arbitrary-data value, and its arguments.
#ifndef SPIROVAULT_HOST_PF_ARBITRARY_DATA_H
#define SPIROVAULT_HOST_PF_ARBITRARY_DATA_H

#include "host/ae_basic_types.h"

typedef A_long PF_FunctionSelector;
enum {
    PF_Arbitrary_NEW_FUNC = 0,
    PF_Arbitrary_DISPOSE_FUNC,
    PF_Arbitrary_COPY_FUNC,
    PF_Arbitrary_FLAT_SIZE_FUNC,
    PF_Arbitrary_FLATTEN_FUNC,
    PF_Arbitrary_UNFLATTEN_FUNC,
    PF_Arbitrary_INTERP_FUNC,
    PF_Arbitrary_COMPARE_FUNC,
    PF_Arbitrary_PRINT_SIZE_FUNC,
    PF_Arbitrary_PRINT_FUNC,
    PF_Arbitrary_SCAN_FUNC,
};

typedef A_long PF_ArbCompareResult;
enum {
    PF_ArbCompare_EQUAL = 0,
    PF_ArbCompare_LESS,
    PF_ArbCompare_MORE,
    PF_ArbCompare_NOT_EQUAL,
};

typedef A_long PF_ArbPrintFlags;

typedef struct {
    PF_FunctionSelector which_function;
    A_short id;
    A_short padding;
    union {
        struct {
            void* refconPV;
            PF_ArbitraryH* arbPH;
        } new_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
        } dispose_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH src_arbH;
            PF_ArbitraryH* dst_arbPH;
        } copy_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
            A_u_long* flat_data_sizePLu;
        } flat_size_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
            A_u_long buf_sizeLu;
            void* flat_dataPV;
        } flatten_func_params;
        struct {
            void* refconPV;
            A_u_long buf_sizeLu;
            const void* flat_dataPV;
            PF_ArbitraryH* arbPH;
        } unflatten_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH left_arbH;
            PF_ArbitraryH right_arbH;
            PF_FpLong tF;
            PF_ArbitraryH* interpPH;
        } interp_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH a_arbH;
            PF_ArbitraryH b_arbH;
            PF_ArbCompareResult* compareP;
        } compare_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
            A_u_long* print_sizePLu;
        } print_size_func_params;
        struct {
            void* refconPV;
            PF_ArbPrintFlags print_flags;
            PF_ArbitraryH arbH;
            A_u_long print_sizeLu;
            A_char* print_bufferPC;
        } print_func_params;
        struct {
            void* refconPV;
            const A_char* bufPC;
            A_u_long bytes_to_scanLu;
            PF_ArbitraryH* arbPH;
        } scan_func_params;
    } u;
} PF_ArbParamsExtra;

#endif
