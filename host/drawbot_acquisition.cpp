#include "host/drawbot_acquisition.h"

#include "host/suite_messages.h"

namespace {

struct DrawbotSuiteName {
    const char* name;
    int32_t version;
};

// In acquisition order.
constexpr DrawbotSuiteName kDrawbotSuites[4] = {
    {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1},
    {kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1},
    {kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2},
    {kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1},
};

const void** Slot(DRAWBOT_Suites* suites, int i) {
    switch (i) {
        case 0:
            return reinterpret_cast<const void**>(&suites->drawbot_suiteP);
        case 1:
            return reinterpret_cast<const void**>(&suites->supplier_suiteP);
        case 2:
            return reinterpret_cast<const void**>(&suites->surface_suiteP);
        default:
            return reinterpret_cast<const void**>(&suites->path_suiteP);
    }
}

}  // namespace

PF_Err AcquireDrawbotSuites(const SPBasicSuite* basic, PF_OutData* out_data,
                            DRAWBOT_Suites* suites) {
    if (suites == nullptr) {
        ReportSuiteMessage(out_data, kMsgNullDrawbotDestination);
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    *suites = DRAWBOT_Suites{};
    if (basic == nullptr) {
        ReportSuiteMessage(out_data, kMsgSuiteAcquireFailed);
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    for (int i = 0; i < 4; ++i) {
        const void* suite = nullptr;
        const SPErr err =
            basic->AcquireSuite(kDrawbotSuites[i].name, kDrawbotSuites[i].version, &suite);
        if (err == kSPNoError && suite == nullptr) {
            basic->ReleaseSuite(kDrawbotSuites[i].name, kDrawbotSuites[i].version);
        }
        if (err != kSPNoError || suite == nullptr) {
            // Give back what was taken so that a failure holds nothing.
            for (int j = i - 1; j >= 0; --j) {
                basic->ReleaseSuite(kDrawbotSuites[j].name, kDrawbotSuites[j].version);
            }
            *suites = DRAWBOT_Suites{};
            ReportSuiteMessage(out_data, kMsgSuiteAcquireFailed);
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        *Slot(suites, i) = suite;
    }
    return PF_Err_NONE;
}

PF_Err ReleaseDrawbotSuites(const SPBasicSuite* basic, PF_OutData* out_data,
                            DRAWBOT_Suites* suites) {
    if (basic == nullptr) {
        ReportSuiteMessage(out_data, kMsgSuiteReleaseFailed);
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    for (int i = 3; i >= 0; --i) {
        if (suites != nullptr && *Slot(suites, i) == nullptr) continue;
        basic->ReleaseSuite(kDrawbotSuites[i].name, kDrawbotSuites[i].version);
    }
    if (suites != nullptr) *suites = DRAWBOT_Suites{};
    return PF_Err_NONE;
}
