// Colour ramps in host handles: scoped locks, scoped ownership of fresh handles, and the
// default-value maker.
#ifndef SPIROVAULT_RAMP_RAMP_HANDLE_H
#define SPIROVAULT_RAMP_RAMP_HANDLE_H

#include "host/pf_handle_suite.h"
#include "host/pf_in_out_data.h"
#include "kernel/color_ramp.h"

namespace spirovault {

// Locks a handle for the scope; unlocks only what it locked. ramp() is null when the handle is
// empty or the lock failed.
class LockedRamp {
  public:
    LockedRamp(const PF_HandleSuite1* suite, PF_Handle handle);
    ~LockedRamp();
    LockedRamp(const LockedRamp&) = delete;
    LockedRamp& operator=(const LockedRamp&) = delete;

    ColorRamp* ramp() const { return ramp_; }

  private:
    const PF_HandleSuite1* suite_;
    PF_Handle handle_;
    ColorRamp* ramp_;
};

// A handle this code allocated and has not yet handed to the host: disposed unless released.
class OwnedHandle {
  public:
    OwnedHandle(const PF_HandleSuite1* suite, PF_Handle handle) : suite_(suite), handle_(handle) {}
    ~OwnedHandle() {
        if (handle_ != nullptr) suite_->host_dispose_handle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    PF_Handle get() const { return handle_; }
    PF_Handle Release() {
        PF_Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

  private:
    const PF_HandleSuite1* suite_;
    PF_Handle handle_;
};

// A new handle holding the default ramp, or PF_Err_OUT_OF_MEMORY with *handle untouched.
PF_Err NewRampHandle(const PF_HandleSuite1* suite, PF_Handle* handle);

// The same through in_data's suites (for parameter setup); a missing handle suite raises
// PF_Err_BAD_CALLBACK_PARAM.
PF_Err NewDefaultRampHandle(PF_InData* in_data, PF_Handle* handle);
void DisposeRampHandle(PF_InData* in_data, PF_Handle handle);

}  // namespace spirovault

#endif
