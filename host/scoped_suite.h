// Holds one host suite for a scope: acquired at construction, released with the same name and
// version when the scope ends, errors included.
#ifndef SPIROVAULT_HOST_SCOPED_SUITE_H
#define SPIROVAULT_HOST_SCOPED_SUITE_H

#include <cstdint>

#include "host/pf_error.h"
#include "host/sp_basic_suite.h"
#include "host/suite_messages.h"

template <typename Suite>
class ScopedSuite {
  public:
    // A failed acquisition reports the message through out_data (when given) and raises
    // A_Err_MISSING_SUITE.
    ScopedSuite(const SPBasicSuite* basic, const char* name, int32_t version,
                PF_OutData* out_data = nullptr)
        : basic_(basic), name_(name), version_(version) {
        const void* suite = nullptr;
        if (basic_ == nullptr || basic_->AcquireSuite(name_, version_, &suite) != kSPNoError) {
            ReportSuiteMessage(out_data, kMsgSuiteAcquireFailed);
            throw PfError(A_Err_MISSING_SUITE);
        }
        suite_ = static_cast<const Suite*>(suite);
        if (suite_ == nullptr) {
            basic_->ReleaseSuite(name_, version_);
            ReportSuiteMessage(out_data, kMsgSuiteAcquireFailed);
            throw PfError(A_Err_MISSING_SUITE);
        }
    }
    ~ScopedSuite() { basic_->ReleaseSuite(name_, version_); }
    ScopedSuite(const ScopedSuite&) = delete;
    ScopedSuite& operator=(const ScopedSuite&) = delete;

    const Suite* operator->() const { return suite_; }
    const Suite* get() const { return suite_; }

  private:
    const SPBasicSuite* basic_;
    const char* name_;
    int32_t version_;
    const Suite* suite_ = nullptr;
};

#endif
