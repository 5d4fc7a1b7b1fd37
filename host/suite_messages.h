// The user-visible messages about suites, written into out_data's return_msg.
#ifndef SPIROVAULT_HOST_SUITE_MESSAGES_H
#define SPIROVAULT_HOST_SUITE_MESSAGES_H

#include "host/pf_in_out_data.h"

inline constexpr const char* kMsgSuiteAcquireFailed = "Not able to acquire AEFX Suite.";
inline constexpr const char* kMsgSuiteReleaseFailed = "Not able to release AEFX Suite.";
inline constexpr const char* kMsgNullDrawbotDestination =
    "NULL suite pointer passed to AEFX_AcquireDrawbotSuites";

// Puts the message into return_msg (truncated to fit) and asks the host to show it. No-op
// without out_data.
void ReportSuiteMessage(PF_OutData* out_data, const char* message);

#endif
