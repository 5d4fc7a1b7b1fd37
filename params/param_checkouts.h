// The value parameters of one frame, checked out at the frame's time into copies indexed like the
// host's params array. Whatever is still checked out when the holder goes away is checked in.
#ifndef SPIROVAULT_PARAMS_PARAM_CHECKOUTS_H
#define SPIROVAULT_PARAMS_PARAM_CHECKOUTS_H

#include <array>

#include "host/pf_in_out_data.h"
#include "params/param_table.h"

namespace spirovault {

// Group starts and ends carry no value, and "HDRI Layer" is checked out by the smart render
// itself; every other parameter from index 1 up is a value parameter.
bool IsValueParam(int index);

class ParamCheckouts {
  public:
    explicit ParamCheckouts(PF_InData* in_data);
    ~ParamCheckouts();
    ParamCheckouts(const ParamCheckouts&) = delete;
    ParamCheckouts& operator=(const ParamCheckouts&) = delete;

    // Ascending index order; stops at the first failure and returns it. Copies not reached stay
    // zero.
    PF_Err CheckOutAll();
    // Checks in every copy that was checked out; the first error is returned.
    PF_Err CheckInAll();

    // 61 pointers: null at index 0, a zero-filled copy at every other index.
    PF_ParamDef** params() { return pointers_.data(); }

  private:
    PF_InData* in_data_;
    std::array<PF_ParamDef, kNumParams> copies_{};
    std::array<PF_ParamDef*, kNumParams> pointers_{};
    std::array<bool, kNumParams> checked_out_{};
};

}  // namespace spirovault

#endif
