// The host's side of arbitrary-data parameters: each request becomes one
// PF_Cmd_ARBITRARY_CALLBACK. Handles the effect hands back are kept by the host.
#ifndef SPIROVAULT_HOSTSIM_ARBITRARY_DATA_CLIENT_H
#define SPIROVAULT_HOSTSIM_ARBITRARY_DATA_CLIENT_H

#include <string>

#include "host/pf_arbitrary_data.h"
#include "hostsim/effect_host.h"

namespace hostsim {

class ArbitraryDataClient {
  public:
    ArbitraryDataClient(EffectHost& host, void* refcon) : host_(host), refcon_(refcon) {}

    struct HandleResult {
        PF_Err err;
        PF_Handle handle;
    };
    struct SizeResult {
        PF_Err err;
        A_u_long size;
    };
    struct CompareResult {
        PF_Err err;
        PF_ArbCompareResult result;
    };

    HandleResult New();
    HandleResult NewWithRefcon(void* refcon);
    PF_Err Dispose(PF_Handle handle);
    HandleResult Copy(PF_Handle source);
    SizeResult FlatSize(PF_Handle handle);
    PF_Err Flatten(PF_Handle handle, void* buffer, A_u_long size);
    HandleResult Unflatten(const void* data, A_u_long size);
    HandleResult Interpolate(PF_Handle left, PF_Handle right, double t);
    CompareResult Compare(PF_Handle a, PF_Handle b);
    SizeResult PrintSize(PF_Handle handle);
    PF_Err Print(PF_Handle handle, char* buffer, A_u_long size);
    HandleResult Scan(const std::string& text);

    // Sends a request as built by the caller.
    PF_Err Send(PF_ArbParamsExtra& extra);
    const CommandResult& last() const { return last_; }

  private:
    PF_ArbParamsExtra Request(PF_FunctionSelector selector) const;
    HandleResult Keep(PF_Err err, PF_Handle handle);

    EffectHost& host_;
    void* refcon_;
    CommandResult last_;
};

}  // namespace hostsim

#endif
