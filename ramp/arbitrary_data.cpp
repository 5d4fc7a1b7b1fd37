#include "ramp/arbitrary_data.h"

#include <cstring>

#include "host/pf_error.h"
#include "host/suite_handler.h"
#include "ramp/ramp_handle.h"
#include "ramp/ramp_param.h"
#include "ramp/ramp_text.h"
#include "ramp/ramp_value_ops.h"

namespace spirovault {

namespace {

const PF_HandleSuite1* HandleSuite(SuiteHandler& suites) {
    return suites.Get<PF_HandleSuite1>(kPFHandleSuite, kPFHandleSuiteVersion1);
}

// Every handler that writes through an out pointer needs it; a host that omits one gets an
// error instead of a crash.
template <typename T>
void RequireOut(T* pointer) {
    if (pointer == nullptr) throw PfError(PF_Err_BAD_CALLBACK_PARAM);
}

PF_Err NewValue(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.new_func_params;
    if (p.refconPV != ColorRampRefcon()) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    RequireOut(p.arbPH);
    return NewRampHandle(HandleSuite(suites), p.arbPH);
}

PF_Err DisposeValue(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    PF_Handle handle = extra.u.dispose_func_params.arbH;
    if (handle != nullptr) HandleSuite(suites)->host_dispose_handle(handle);
    return PF_Err_NONE;
}

PF_Err CopyValue(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.copy_func_params;
    RequireOut(p.dst_arbPH);
    const PF_HandleSuite1* suite = HandleSuite(suites);
    const PF_Err err = NewRampHandle(suite, p.dst_arbPH);
    if (err != PF_Err_NONE) return err;
    if (p.src_arbH == nullptr) return PF_Err_NONE;
    LockedRamp source(suite, p.src_arbH);
    if (source.ramp() == nullptr) return PF_Err_OUT_OF_MEMORY;
    LockedRamp destination(suite, *p.dst_arbPH);
    // A copy that silently holds the default instead of the source would lose the user's ramp.
    if (destination.ramp() == nullptr) return PF_Err_OUT_OF_MEMORY;
    std::memcpy(destination.ramp(), source.ramp(), kColorRampSize);
    return PF_Err_NONE;
}

PF_Err FlatSize(PF_ArbParamsExtra& extra) {
    RequireOut(extra.u.flat_size_func_params.flat_data_sizePLu);
    *extra.u.flat_size_func_params.flat_data_sizePLu = kColorRampSize;
    return PF_Err_NONE;
}

PF_Err Flatten(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.flatten_func_params;
    if (p.buf_sizeLu != kColorRampSize || p.flat_dataPV == nullptr) return PF_Err_NONE;
    LockedRamp ramp(HandleSuite(suites), p.arbH);
    // Reporting success here would let the host store a buffer it never got bytes for.
    if (ramp.ramp() == nullptr) return PF_Err_OUT_OF_MEMORY;
    std::memcpy(p.flat_dataPV, ramp.ramp(), kColorRampSize);
    return PF_Err_NONE;
}

PF_Err Unflatten(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.unflatten_func_params;
    if (p.buf_sizeLu != kColorRampSize || p.flat_dataPV == nullptr) return PF_Err_NONE;
    RequireOut(p.arbPH);
    const PF_HandleSuite1* suite = HandleSuite(suites);
    OwnedHandle fresh(suite, suite->host_new_handle(kColorRampSize));
    if (fresh.get() == nullptr) return PF_Err_OUT_OF_MEMORY;
    {
        // Never hand back a handle whose bytes were not filled.
        LockedRamp ramp(suite, fresh.get());
        if (ramp.ramp() == nullptr) return PF_Err_OUT_OF_MEMORY;
        std::memcpy(ramp.ramp(), p.flat_dataPV, kColorRampSize);
    }
    *p.arbPH = fresh.Release();
    return PF_Err_NONE;
}

PF_Err Interpolate(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.interp_func_params;
    RequireOut(p.interpPH);
    const PF_HandleSuite1* suite = HandleSuite(suites);
    const PF_Err err = NewRampHandle(suite, p.interpPH);
    if (err != PF_Err_NONE) return err;
    LockedRamp left(suite, p.left_arbH);
    LockedRamp right(suite, p.right_arbH);
    LockedRamp out(suite, *p.interpPH);
    if (left.ramp() != nullptr && right.ramp() != nullptr && out.ramp() != nullptr) {
        InterpolateRamps(left.ramp(), right.ramp(), static_cast<float>(p.tF), out.ramp());
    }
    return PF_Err_NONE;
}

PF_Err Compare(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.compare_func_params;
    RequireOut(p.compareP);
    *p.compareP = PF_ArbCompare_EQUAL;
    const PF_HandleSuite1* suite = HandleSuite(suites);
    LockedRamp a(suite, p.a_arbH);
    LockedRamp b(suite, p.b_arbH);
    if (a.ramp() != nullptr && b.ramp() != nullptr) {
        *p.compareP = CompareRampBytes(a.ramp(), b.ramp());
    }
    return PF_Err_NONE;
}

PF_Err PrintSize(PF_ArbParamsExtra& extra) {
    RequireOut(extra.u.print_size_func_params.print_sizePLu);
    *extra.u.print_size_func_params.print_sizePLu = kRampPrintSize;
    return PF_Err_NONE;
}

PF_Err Print(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.print_func_params;
    if (p.arbH == nullptr || p.print_bufferPC == nullptr || p.print_sizeLu < 4) {
        return PF_Err_NONE;
    }
    p.print_bufferPC[0] = '\0';
    LockedRamp ramp(HandleSuite(suites), p.arbH);
    if (ramp.ramp() != nullptr) PrintRampText(ramp.ramp(), p.print_bufferPC, p.print_sizeLu);
    return PF_Err_NONE;
}

// Pasted text becomes a value only when it reads as a printed ramp; the host keeps the value it
// had for anything else.
PF_Err Scan(SuiteHandler& suites, PF_ArbParamsExtra& extra) {
    auto& p = extra.u.scan_func_params;
    RequireOut(p.arbPH);
    ColorRamp scanned;
    if (!ScanRampText(p.bufPC, p.bytes_to_scanLu, &scanned)) {
        return PF_Err_CANNOT_PARSE_KEYFRAME_TEXT;
    }
    const PF_HandleSuite1* suite = HandleSuite(suites);
    OwnedHandle fresh(suite, suite->host_new_handle(kColorRampSize));
    if (fresh.get() == nullptr) return PF_Err_OUT_OF_MEMORY;
    {
        LockedRamp ramp(suite, fresh.get());
        if (ramp.ramp() == nullptr) return PF_Err_OUT_OF_MEMORY;
        std::memcpy(ramp.ramp(), &scanned, kColorRampSize);
    }
    *p.arbPH = fresh.Release();
    return PF_Err_NONE;
}

}  // namespace

PF_Err HandleArbitraryCallback(PF_InData* in_data, PF_OutData* /*out_data*/,
                               PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/,
                               PF_ArbParamsExtra* extra) {
    if (extra == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    SuiteHandler suites(in_data->pica_basicP);
    switch (extra->which_function) {
        case PF_Arbitrary_NEW_FUNC:
            return NewValue(suites, *extra);
        case PF_Arbitrary_DISPOSE_FUNC:
            return DisposeValue(suites, *extra);
        case PF_Arbitrary_COPY_FUNC:
            return CopyValue(suites, *extra);
        case PF_Arbitrary_FLAT_SIZE_FUNC:
            return FlatSize(*extra);
        case PF_Arbitrary_FLATTEN_FUNC:
            return Flatten(suites, *extra);
        case PF_Arbitrary_UNFLATTEN_FUNC:
            return Unflatten(suites, *extra);
        case PF_Arbitrary_INTERP_FUNC:
            return Interpolate(suites, *extra);
        case PF_Arbitrary_COMPARE_FUNC:
            return Compare(suites, *extra);
        case PF_Arbitrary_PRINT_SIZE_FUNC:
            return PrintSize(*extra);
        case PF_Arbitrary_PRINT_FUNC:
            return Print(suites, *extra);
        case PF_Arbitrary_SCAN_FUNC:
            return Scan(suites, *extra);
        default:
            return PF_Err_NONE;
    }
}

}  // namespace spirovault
