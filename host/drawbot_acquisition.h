// The four Drawbot suites are acquired together and released together.
#ifndef SPIROVAULT_HOST_DRAWBOT_ACQUISITION_H
#define SPIROVAULT_HOST_DRAWBOT_ACQUISITION_H

#include "host/drawbot_suites.h"
#include "host/pf_in_out_data.h"

// All four or none: a suite that cannot be had releases those already taken, writes the
// acquire message and returns PF_Err_BAD_CALLBACK_PARAM; a null destination writes its own
// message and returns PF_Err_UNRECOGNIZED_PARAM_TYPE.
PF_Err AcquireDrawbotSuites(const SPBasicSuite* basic, PF_OutData* out_data,
                            DRAWBOT_Suites* suites);
// Releases the four and clears the record; without a basic suite writes the release message
// and returns PF_Err_BAD_CALLBACK_PARAM.
PF_Err ReleaseDrawbotSuites(const SPBasicSuite* basic, PF_OutData* out_data,
                            DRAWBOT_Suites* suites);

// Holds the four suites for a scope.
class ScopedDrawbotSuites {
  public:
    ScopedDrawbotSuites(const SPBasicSuite* basic, PF_OutData* out_data)
        : basic_(basic),
          out_data_(out_data),
          err_(AcquireDrawbotSuites(basic, out_data, &suites_)) {}
    ~ScopedDrawbotSuites() {
        if (err_ == PF_Err_NONE) ReleaseDrawbotSuites(basic_, out_data_, &suites_);
    }
    ScopedDrawbotSuites(const ScopedDrawbotSuites&) = delete;
    ScopedDrawbotSuites& operator=(const ScopedDrawbotSuites&) = delete;

    PF_Err error() const { return err_; }
    const DRAWBOT_Suites& suites() const { return suites_; }

  private:
    const SPBasicSuite* basic_;
    PF_OutData* out_data_;
    DRAWBOT_Suites suites_{};
    PF_Err err_;
};

#endif
