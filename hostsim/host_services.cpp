#include "hostsim/host_services.h"

#include <new>
#include <string_view>

#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

thread_local HostServices* active_services = nullptr;
thread_local FrameSession* active_frame = nullptr;

SPErr AcquireSuite(const char* name, int32_t version, const void** suite) {
    HostServices* services = HostServices::Active();
    if (services == nullptr) return kSPSuiteNotFoundError;
    return services->suites().Acquire(name, version, suite, active_frame);
}

SPErr ReleaseSuite(const char* name, int32_t version) {
    HostServices* services = HostServices::Active();
    if (services == nullptr) return kSPSuiteNotFoundError;
    return services->suites().Release(name, version, active_frame);
}

SPBoolean IsEqual(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::string_view(a) == std::string_view(b);
}

SPErr AllocateBlock(size_t size, void** block) {
    if (block == nullptr) return kSPSuiteNotFoundError;
    *block = ::operator new(size, std::nothrow);
    return *block == nullptr ? kSPSuiteNotFoundError : kSPNoError;
}

SPErr FreeBlock(void* block) {
    ::operator delete(block);
    return kSPNoError;
}

SPErr ReallocateBlock(void*, size_t, void**) {
    return kSPSuiteNotFoundError;  // no caller needs it
}

SPErr Undefined() {
    return kSPNoError;
}

SPBasicSuite basic_suite = {AcquireSuite, ReleaseSuite,    IsEqual,  AllocateBlock,
                            FreeBlock,    ReallocateBlock, Undefined};

}  // namespace

HostServices::HostServices() {
    ProvideStandaloneSuites(suites_);
}

SPBasicSuite* HostServices::BasicSuite() {
    return &basic_suite;
}

HostServices* HostServices::Active() {
    return active_services;
}

FrameSession* HostServices::ActiveFrame() {
    return active_frame;
}

HostServices* HostServices::FromEffectRef(PF_ProgPtr effect_ref) {
    const auto* target = reinterpret_cast<const EffectRefTarget*>(effect_ref);
    return target != nullptr ? target->services : nullptr;
}

FrameSession* HostServices::FrameOfEffectRef(PF_ProgPtr effect_ref) {
    const auto* target = reinterpret_cast<const EffectRefTarget*>(effect_ref);
    return target != nullptr ? target->frame : nullptr;
}

ActiveServicesScope::ActiveServicesScope(HostServices* services, FrameSession* frame)
    : previous_(active_services), previous_frame_(active_frame) {
    active_services = services;
    active_frame = frame;
}

ActiveServicesScope::~ActiveServicesScope() {
    active_services = previous_;
    active_frame = previous_frame_;
}

}  // namespace hostsim
