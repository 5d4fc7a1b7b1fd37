#include "ramp/ramp_handle.h"

#include "host/suite_handler.h"

namespace spirovault {

LockedRamp::LockedRamp(const PF_HandleSuite1* suite, PF_Handle handle)
    : suite_(suite),
      handle_(handle),
      ramp_(handle != nullptr ? static_cast<ColorRamp*>(suite->host_lock_handle(handle))
                              : nullptr) {}

LockedRamp::~LockedRamp() {
    if (ramp_ != nullptr) suite_->host_unlock_handle(handle_);
}

PF_Err NewRampHandle(const PF_HandleSuite1* suite, PF_Handle* handle) {
    OwnedHandle fresh(suite, suite->host_new_handle(kColorRampSize));
    if (fresh.get() == nullptr) return PF_Err_OUT_OF_MEMORY;
    {
        LockedRamp locked(suite, fresh.get());
        if (locked.ramp() == nullptr) return PF_Err_OUT_OF_MEMORY;
        InitDefaultRamp(locked.ramp());
    }
    *handle = fresh.Release();
    return PF_Err_NONE;
}

PF_Err NewDefaultRampHandle(PF_InData* in_data, PF_Handle* handle) {
    SuiteHandler suites(in_data->pica_basicP);
    return NewRampHandle(suites.Get<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1),
                         handle);
}

void DisposeRampHandle(PF_InData* in_data, PF_Handle handle) {
    if (handle == nullptr) return;
    SuiteHandler suites(in_data->pica_basicP);
    suites.Get<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1)
        ->host_dispose_handle(handle);
}

}  // namespace spirovault
