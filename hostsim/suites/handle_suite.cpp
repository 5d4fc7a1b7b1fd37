#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

PF_Handle NewHandle(A_HandleSize size) {
    HostServices* services = HostServices::Active();
    return services != nullptr
               ? services->handles().New(static_cast<size_t>(size), HostServices::ActiveFrame())
               : nullptr;
}

void* LockHandle(PF_Handle handle) {
    HostServices* services = HostServices::Active();
    return services != nullptr ? services->handles().Lock(handle, HostServices::ActiveFrame())
                               : nullptr;
}

void UnlockHandle(PF_Handle handle) {
    if (HostServices* services = HostServices::Active())
        services->handles().Unlock(handle, HostServices::ActiveFrame());
}

void DisposeHandle(PF_Handle handle) {
    if (HostServices* services = HostServices::Active()) services->handles().Dispose(handle);
}

A_HandleSize GetHandleSize(PF_Handle handle) {
    HostServices* services = HostServices::Active();
    return services != nullptr ? services->handles().Size(handle) : 0;
}

PF_Err ResizeHandle(A_HandleSize size, PF_Handle* handle) {
    HostServices* services = HostServices::Active();
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return services->handles().Resize(static_cast<size_t>(size), handle);
}

const PF_HandleSuite1 kHandleSuite = {NewHandle,     LockHandle,    UnlockHandle,
                                      DisposeHandle, GetHandleSize, ResizeHandle};

}  // namespace

const PF_HandleSuite1* StandaloneHandleSuite() {
    return &kHandleSuite;
}

}  // namespace hostsim
