#include "host/suite_messages.h"

#include <cstdio>

void ReportSuiteMessage(PF_OutData* out_data, const char* message) {
    if (out_data == nullptr) return;
    std::snprintf(out_data->return_msg, sizeof out_data->return_msg, "%s", message);
    out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
}
