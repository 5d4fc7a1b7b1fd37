// The three iterate suites: the pixel function over every pixel of the area, rows spread over
// a thread pool as the host does, sized as the frame the in-data names asks.
#include <algorithm>
#include <cstddef>

#include "hostsim/frames/frame_session.h"
#include "hostsim/frames/row_pool.h"
#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

template <typename Pixel>
Pixel* PixelAt(PF_EffectWorld* world, A_long x, A_long y) {
    return reinterpret_cast<Pixel*>(static_cast<char*>(world->data) +
                                    static_cast<ptrdiff_t>(y) * world->rowbytes) +
           x;
}

template <typename Pixel>
PF_Err Iterate(PF_InData* in_data, A_long /*progress_base*/, A_long /*progress_final*/,
               PF_EffectWorld* src, const PF_Rect* area, void* refcon,
               PF_Err (*pix_fn)(void*, A_long, A_long, Pixel*, Pixel*), PF_EffectWorld* dst) {
    if (in_data == nullptr || pix_fn == nullptr || dst == nullptr || dst->data == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    HostServices* services = HostServices::FromEffectRef(in_data->effect_ref);
    if (services == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    PF_Rect r = area != nullptr ? *area : PF_Rect{0, 0, dst->width, dst->height};
    r.left = std::max<A_long>(r.left, 0);
    r.top = std::max<A_long>(r.top, 0);
    r.right = std::min(r.right, dst->width);
    r.bottom = std::min(r.bottom, dst->height);
    const bool has_src = src != nullptr && src->data != nullptr;
    const FrameSession* frame = HostServices::FrameOfEffectRef(in_data->effect_ref);
    const IterateSettings settings = frame != nullptr ? frame->iterate() : IterateSettings{};
    return RunRows(
        r.top, r.bottom, settings.threads,
        [&](int y) {
            // As the host does: the user's cancel is looked at before every row.
            if (frame != nullptr) {
                const PF_Err cancel = frame->UserCancel();
                if (cancel != PF_Err_NONE) return cancel;
            }
            for (A_long x = r.left; x < r.right; ++x) {
                // Outside the source there is no input pixel.
                Pixel* in = has_src && x < src->width && y < src->height ? PixelAt<Pixel>(src, x, y)
                                                                         : nullptr;
                const PF_Err err = pix_fn(refcon, x, y, in, PixelAt<Pixel>(dst, x, y));
                if (err != PF_Err_NONE) return err;
            }
            return PF_Err(PF_Err_NONE);
        },
        settings.progress);
}

// The host's own work distribution: fn for every i in [0, iterations) on the instance's pool,
// told which thread runs it. No effect reference comes with the call; the instance and frame are
// the ones whose command is running on this thread. Neither progress nor the user's cancel is
// looked at here: the effect asks for them from thread 0.
PF_Err IterateGeneric(A_long iterations, void* refcon,
                      PF_Err (*fn)(void* refcon, A_long thread_index, A_long i,
                                   A_long iterations)) {
    if (fn == nullptr || iterations < 0) return PF_Err_BAD_CALLBACK_PARAM;
    if (HostServices::Active() == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    // The frame whose command runs on this thread sizes the work as its iterate calls are sized.
    const FrameSession* frame = HostServices::ActiveFrame();
    const IterateSettings settings = frame != nullptr ? frame->iterate() : IterateSettings{};
    return RunRowsOnThreads(
        0, iterations, settings.threads,
        [&](int i, int thread_index) { return fn(refcon, thread_index, i, iterations); }, {});
}

const PF_Iterate8Suite2 kIterate8Suite = {Iterate<PF_Pixel8>, nullptr, nullptr, nullptr,
                                          IterateGeneric};
const PF_Iterate8Suite2 kIterate8SuiteWithoutGeneric = {Iterate<PF_Pixel8>, nullptr, nullptr,
                                                        nullptr, nullptr};
const PF_Iterate16Suite2 kIterate16Suite = {Iterate<PF_Pixel16>, nullptr, nullptr};
const PF_IterateFloatSuite2 kIterateFloatSuite = {Iterate<PF_PixelFloat>, nullptr, nullptr};

}  // namespace

const PF_Iterate8Suite2* StandaloneIterate8Suite() {
    return &kIterate8Suite;
}
const PF_Iterate8Suite2* StandaloneIterate8SuiteWithoutGeneric() {
    return &kIterate8SuiteWithoutGeneric;
}
const PF_Iterate16Suite2* StandaloneIterate16Suite() {
    return &kIterate16Suite;
}
const PF_IterateFloatSuite2* StandaloneIterateFloatSuite() {
    return &kIterateFloatSuite;
}

}  // namespace hostsim
