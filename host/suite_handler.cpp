#include "host/suite_handler.h"

#include <cstring>

#include "host/pf_error.h"

const void* SuiteHandler::Acquire(const char* name, int32_t version) {
    const void* suite = TryAcquire(name, version);
    if (suite == nullptr) throw PfError(PF_Err_BAD_CALLBACK_PARAM);
    return suite;
}

const void* SuiteHandler::TryAcquire(const char* name, int32_t version) {
    for (const Held& held : held_) {
        if (held.version == version && std::strcmp(held.name, name) == 0) return held.suite;
    }
    if (basic_ == nullptr) throw PfError(PF_Err_BAD_CALLBACK_PARAM);
    // Reserve first so that recording the suite cannot fail after the host handed it out.
    held_.reserve(held_.size() + 1);
    const void* suite = nullptr;
    if (basic_->AcquireSuite(name, version, &suite) != kSPNoError) return nullptr;
    if (suite == nullptr) {
        basic_->ReleaseSuite(name, version);
        return nullptr;
    }
    held_.push_back(Held{name, version, suite});
    return suite;
}

SuiteHandler::~SuiteHandler() {
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        basic_->ReleaseSuite(it->name, it->version);
    }
}
