// Fuzz target: arbitrary bytes as a stored "Color Ramp" value, fed through unflatten, print,
// interpolation, comparison and sampling. Any out-of-bounds access trips the sanitizers; a
// handle left alive or locked traps.
//
// Input: one control byte (print buffer size, unflatten size variant), four bytes of t, then
// the stored record (zero-padded to 328 bytes).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/pf_arbitrary_data.h"
#include "hostsim/callbacks/host_callbacks.h"
#include "hostsim/host_services.h"
#include "kernel/color_ramp.h"
#include "ramp/arbitrary_data.h"

using namespace spirovault;

namespace {

using namespace hostsim;

void* const kRefcon = reinterpret_cast<void*>(0xDEADBEEF);

struct Harness {
    HostServices services;
    PF_InData in_data{};
    PF_OutData out_data{};

    Harness() {
        in_data.inter = StandaloneInteractCallbacks();
        in_data.utils = StandaloneUtilCallbacks();
        in_data.effect_ref = services.EffectRef();
        in_data.pica_basicP = HostServices::BasicSuite();
    }

    PF_Err Request(PF_ArbParamsExtra& extra) {
        extra.u.new_func_params.refconPV = kRefcon;
        return HandleArbitraryCallback(&in_data, &out_data, nullptr, nullptr, &extra);
    }
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    ActiveServicesScope active(&harness.services);
    if (size < 5) return 0;
    const uint8_t control = data[0];
    float t;
    std::memcpy(&t, data + 1, sizeof t);
    std::vector<uint8_t> stored(data + 5, data + size);
    const A_u_long flat_size =
        (control & 0x80) != 0 ? static_cast<A_u_long>(stored.size()) : kColorRampSize;
    stored.resize(std::max<size_t>(stored.size(), kColorRampSize), 0);

    PF_Handle value = nullptr;
    PF_ArbParamsExtra unflatten{};
    unflatten.which_function = PF_Arbitrary_UNFLATTEN_FUNC;
    unflatten.u.unflatten_func_params.buf_sizeLu = flat_size;
    unflatten.u.unflatten_func_params.flat_dataPV = stored.data();
    unflatten.u.unflatten_func_params.arbPH = &value;
    Check(harness.Request(unflatten) == PF_Err_NONE);
    if (value == nullptr) {
        Check(flat_size != kColorRampSize);
        return 0;
    }

    // Print into a buffer of the chosen size, with a guard region behind it.
    const A_u_long print_size = 1 + (static_cast<A_u_long>(control & 0x7F) << 4);
    std::vector<char> text(print_size + 64, '#');
    PF_ArbParamsExtra print{};
    print.which_function = PF_Arbitrary_PRINT_FUNC;
    print.u.print_func_params.arbH = value;
    print.u.print_func_params.print_sizeLu = print_size;
    print.u.print_func_params.print_bufferPC = text.data();
    Check(harness.Request(print) == PF_Err_NONE);
    for (size_t i = print_size; i < text.size(); ++i) Check(text[i] == '#');
    if (print_size >= 4) Check(std::memchr(text.data(), '\0', print_size) != nullptr);

    PF_Handle mixed = nullptr;
    PF_ArbParamsExtra interp{};
    interp.which_function = PF_Arbitrary_INTERP_FUNC;
    interp.u.interp_func_params.left_arbH = value;
    interp.u.interp_func_params.right_arbH = value;
    interp.u.interp_func_params.tF = t;
    interp.u.interp_func_params.interpPH = &mixed;
    Check(harness.Request(interp) == PF_Err_NONE);

    PF_ArbCompareResult order = PF_ArbCompare_NOT_EQUAL;
    PF_ArbParamsExtra compare{};
    compare.which_function = PF_Arbitrary_COMPARE_FUNC;
    compare.u.compare_func_params.a_arbH = value;
    compare.u.compare_func_params.b_arbH = value;
    compare.u.compare_func_params.compareP = &order;
    Check(harness.Request(compare) == PF_Err_NONE && order == PF_ArbCompare_EQUAL);

    ColorRamp ramp;
    std::memcpy(&ramp, stored.data(), sizeof ramp);
    float r, g, b, a;
    SampleRamp(&ramp, t, &r, &g, &b, &a);
    RampTable table;
    PackRampTable(&ramp, &table);

    for (PF_Handle handle : {value, mixed}) {
        PF_ArbParamsExtra dispose{};
        dispose.which_function = PF_Arbitrary_DISPOSE_FUNC;
        dispose.u.dispose_func_params.arbH = handle;
        Check(harness.Request(dispose) == PF_Err_NONE);
    }
    Check(harness.services.handles().LiveCount() == 0);
    Check(harness.services.suites().Outstanding().empty());
    Check(harness.services.handles().Misuses() == 0);
    return 0;
}
