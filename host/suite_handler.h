// One per command call: each suite is acquired on first use and kept; all are released, with
// the names and versions they were acquired under, when the handler goes out of scope.
#ifndef SPIROVAULT_HOST_SUITE_HANDLER_H
#define SPIROVAULT_HOST_SUITE_HANDLER_H

#include <cstdint>
#include <vector>

#include "host/sp_basic_suite.h"

class SuiteHandler {
  public:
    explicit SuiteHandler(const SPBasicSuite* basic) : basic_(basic) {}
    ~SuiteHandler();
    SuiteHandler(const SuiteHandler&) = delete;
    SuiteHandler& operator=(const SuiteHandler&) = delete;

    // Raises PF_Err_BAD_CALLBACK_PARAM when there is no basic suite or the host cannot deliver
    // the suite.
    template <typename Suite>
    const Suite* Get(const char* name, int32_t version) {
        return static_cast<const Suite*>(Acquire(name, version));
    }
    // The same, but null where the host has no such suite (hosts other than the one the suite
    // belongs to); still raises without a basic suite.
    template <typename Suite>
    const Suite* Find(const char* name, int32_t version) {
        return static_cast<const Suite*>(TryAcquire(name, version));
    }

  private:
    struct Held {
        const char* name;
        int32_t version;
        const void* suite;
    };
    const void* Acquire(const char* name, int32_t version);
    const void* TryAcquire(const char* name, int32_t version);

    const SPBasicSuite* basic_;
    std::vector<Held> held_;
};

#endif
