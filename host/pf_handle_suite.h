// "PF Handle Suite": host memory handles.
#ifndef SPIROVAULT_HOST_PF_HANDLE_SUITE_H
#define SPIROVAULT_HOST_PF_HANDLE_SUITE_H

#include "host/ae_basic_types.h"

#define kPFHandleSuite "PF Handle Suite"
#define kPFHandleSuiteVersion1 2

typedef struct PF_HandleSuite1 {
    PF_Handle (*host_new_handle)(A_HandleSize size);
    void* (*host_lock_handle)(PF_Handle handle);  // null when the lock fails
    void (*host_unlock_handle)(PF_Handle handle);
    void (*host_dispose_handle)(PF_Handle handle);
    A_HandleSize (*host_get_handle_size)(PF_Handle handle);
    PF_Err (*host_resize_handle)(A_HandleSize new_size, PF_Handle* handle);
} PF_HandleSuite1;

#endif
