#include "hostsim/arbitrary_data_client.h"

#include "hostsim/record_canary.h"

namespace hostsim {

PF_ArbParamsExtra ArbitraryDataClient::Request(PF_FunctionSelector selector) const {
    PF_ArbParamsExtra extra{};
    extra.which_function = selector;
    extra.id = 19;
    // Every variant starts with the refcon.
    extra.u.new_func_params.refconPV = refcon_;
    return extra;
}

PF_Err ArbitraryDataClient::Send(PF_ArbParamsExtra& extra) {
    GuardedRecord<PF_ArbParamsExtra> guarded(extra);
    last_ = host_.Send(PF_Cmd_ARBITRARY_CALLBACK, &guarded.record);
    extra = guarded.record;
    if (!guarded.intact()) last_.audit.record_overruns = 1;
    return last_.err;
}

ArbitraryDataClient::HandleResult ArbitraryDataClient::Keep(PF_Err err, PF_Handle handle) {
    if (handle != nullptr && host_.services().handles().IsLive(handle)) {
        host_.services().handles().MarkHostOwned(handle);
        last_.audit = host_.Audit();
    }
    return HandleResult{err, handle};
}

ArbitraryDataClient::HandleResult ArbitraryDataClient::New() {
    return NewWithRefcon(refcon_);
}

ArbitraryDataClient::HandleResult ArbitraryDataClient::NewWithRefcon(void* refcon) {
    PF_Handle handle = nullptr;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_NEW_FUNC);
    extra.u.new_func_params.refconPV = refcon;
    extra.u.new_func_params.arbPH = &handle;
    const PF_Err err = Send(extra);
    return Keep(err, handle);
}

PF_Err ArbitraryDataClient::Dispose(PF_Handle handle) {
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_DISPOSE_FUNC);
    extra.u.dispose_func_params.arbH = handle;
    return Send(extra);
}

ArbitraryDataClient::HandleResult ArbitraryDataClient::Copy(PF_Handle source) {
    PF_Handle handle = nullptr;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_COPY_FUNC);
    extra.u.copy_func_params.src_arbH = source;
    extra.u.copy_func_params.dst_arbPH = &handle;
    const PF_Err err = Send(extra);
    return Keep(err, handle);
}

ArbitraryDataClient::SizeResult ArbitraryDataClient::FlatSize(PF_Handle handle) {
    A_u_long size = 0;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_FLAT_SIZE_FUNC);
    extra.u.flat_size_func_params.arbH = handle;
    extra.u.flat_size_func_params.flat_data_sizePLu = &size;
    const PF_Err err = Send(extra);
    return SizeResult{err, size};
}

PF_Err ArbitraryDataClient::Flatten(PF_Handle handle, void* buffer, A_u_long size) {
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_FLATTEN_FUNC);
    extra.u.flatten_func_params.arbH = handle;
    extra.u.flatten_func_params.buf_sizeLu = size;
    extra.u.flatten_func_params.flat_dataPV = buffer;
    return Send(extra);
}

ArbitraryDataClient::HandleResult ArbitraryDataClient::Unflatten(const void* data, A_u_long size) {
    PF_Handle handle = nullptr;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_UNFLATTEN_FUNC);
    extra.u.unflatten_func_params.buf_sizeLu = size;
    extra.u.unflatten_func_params.flat_dataPV = data;
    extra.u.unflatten_func_params.arbPH = &handle;
    const PF_Err err = Send(extra);
    return Keep(err, handle);
}

ArbitraryDataClient::HandleResult ArbitraryDataClient::Interpolate(PF_Handle left, PF_Handle right,
                                                                   double t) {
    PF_Handle handle = nullptr;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_INTERP_FUNC);
    extra.u.interp_func_params.left_arbH = left;
    extra.u.interp_func_params.right_arbH = right;
    extra.u.interp_func_params.tF = t;
    extra.u.interp_func_params.interpPH = &handle;
    const PF_Err err = Send(extra);
    return Keep(err, handle);
}

ArbitraryDataClient::CompareResult ArbitraryDataClient::Compare(PF_Handle a, PF_Handle b) {
    PF_ArbCompareResult result = PF_ArbCompare_NOT_EQUAL;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_COMPARE_FUNC);
    extra.u.compare_func_params.a_arbH = a;
    extra.u.compare_func_params.b_arbH = b;
    extra.u.compare_func_params.compareP = &result;
    const PF_Err err = Send(extra);
    return CompareResult{err, result};
}

ArbitraryDataClient::SizeResult ArbitraryDataClient::PrintSize(PF_Handle handle) {
    A_u_long size = 0;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_PRINT_SIZE_FUNC);
    extra.u.print_size_func_params.arbH = handle;
    extra.u.print_size_func_params.print_sizePLu = &size;
    const PF_Err err = Send(extra);
    return SizeResult{err, size};
}

PF_Err ArbitraryDataClient::Print(PF_Handle handle, char* buffer, A_u_long size) {
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_PRINT_FUNC);
    extra.u.print_func_params.arbH = handle;
    extra.u.print_func_params.print_sizeLu = size;
    extra.u.print_func_params.print_bufferPC = buffer;
    return Send(extra);
}

ArbitraryDataClient::HandleResult ArbitraryDataClient::Scan(const std::string& text) {
    PF_Handle handle = nullptr;
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_SCAN_FUNC);
    extra.u.scan_func_params.bufPC = text.c_str();
    extra.u.scan_func_params.bytes_to_scanLu = static_cast<A_u_long>(text.size());
    extra.u.scan_func_params.arbPH = &handle;
    const PF_Err err = Send(extra);
    return Keep(err, handle);
}

}  // namespace hostsim
