#include "device/cpu/cpu_iterate.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "device/cpu/cpu_pixel_callbacks.h"
#include "host/pf_iterate_suites.h"
#include "host/scoped_suite.h"
#include "kernel/cpu/cpu_lanes.h"

namespace spirovault {

namespace {

// Rows per iteration of the host's generic iterate: small bands keep every thread busy to the
// end of the frame; the packets run along the rows.
constexpr A_long kBandRows = 2;
// Pixels converted to and from the world's format at a time, on the stack.
constexpr int kSpanPixels = 64;
// The least time between two questions from thread 0 to the host: a cancelled frame ends about
// this soon after, plus a packet of pixels.
constexpr std::chrono::microseconds kAskInterval{2000};
// Reading the clock after every packet would cost about 1% on a plain frame, whose packets take
// microseconds: thread 0 reads it after every packet while they take long, after more while they
// are quick, up to this many pixels' worth (what a frame may overrun when its pixels turn slow).
constexpr int kMaxPixelsBetweenClocks = 32;

// The user's cancel, as the host answers it. Only the thread the host numbers 0 may ask (the
// others only read what it found), and it asks between packets, at most once per interval,
// reporting the rows finished so far as progress.
class HostCancel {
  public:
    HostCancel(PF_InData* in_data, A_long total_rows, int packet)
        : in_data_(in_data),
          total_rows_(total_rows),
          max_packets_between_clocks_(std::max(1, kMaxPixelsBetweenClocks / packet)),
          last_ask_(Clock::now()) {}

    // Any thread: the host's cancel once thread 0 has seen it, else PF_Err_NONE.
    PF_Err seen() const { return seen_.load(std::memory_order_relaxed); }
    // Any thread, once a band is done.
    void RowsDone(A_long rows) { rows_done_.fetch_add(rows, std::memory_order_relaxed); }

    // Thread 0, between packets: asks once the interval has passed since the last time.
    PF_Err AskWhenDue() {
        if (--packets_to_clock_ > 0) return seen();
        const Clock::time_point now = Clock::now();
        const Clock::duration since = now - last_ask_;
        if (since < kAskInterval) {
            packets_between_clocks_ =
                std::min(2 * packets_between_clocks_, max_packets_between_clocks_);
            packets_to_clock_ = packets_between_clocks_;
            return seen();
        }
        // Late: the packets have grown slow.
        if (since > 2 * kAskInterval) packets_between_clocks_ = 1;
        packets_to_clock_ = packets_between_clocks_;
        last_ask_ = now;
        return Ask();
    }
    // Asks now; only from thread 0, or from the rendering thread outside the iterate.
    PF_Err Ask() {
        const A_long done = rows_done_.load(std::memory_order_relaxed);
        PF_Err err = PF_Err_NONE;
        if (done != reported_ && in_data_->inter.progress != nullptr) {
            reported_ = done;
            err = in_data_->inter.progress(in_data_->effect_ref, done, total_rows_);
        } else if (in_data_->inter.abort != nullptr) {
            err = in_data_->inter.abort(in_data_->effect_ref);
        }
        if (err != PF_Err_NONE) seen_.store(err, std::memory_order_relaxed);
        return err;
    }

  private:
    using Clock = std::chrono::steady_clock;

    PF_InData* in_data_;
    A_long total_rows_;
    std::atomic<A_long> rows_done_{0};
    std::atomic<PF_Err> seen_{PF_Err_NONE};
    const int max_packets_between_clocks_;
    // Thread 0's own.
    A_long reported_ = 0;
    int packets_between_clocks_ = 1;
    int packets_to_clock_ = 1;
    Clock::time_point last_ask_;
};

// The frame as the band callback reads it from every thread at once.
struct BandJob {
    CpuFrame frame;
    RenderRowSpanFn span;
    int chunk;  // pixels rendered between two looks at the cancel: a packet
    PF_PixelFormat format;
    PF_EffectWorld* input;  // may be null or hold no pixels
    PF_EffectWorld* output;
    HostCancel* cancel;
};

template <typename Pixel>
Pixel* RowOf(PF_EffectWorld* world, A_long y) {
    return reinterpret_cast<Pixel*>(static_cast<char*>(world->data) +
                                    static_cast<ptrdiff_t>(y) * world->rowbytes);
}

// The same conversions as the per-pixel callbacks, so that both routes give the same bytes.
PixelF Widen(const PF_PixelFloat& p) {
    return PixelF{p.alpha, p.red, p.green, p.blue};
}
PixelF Widen(const PF_Pixel16& p) {
    const float k = 1.0f / PF_MAX_CHAN16;
    return PixelF{p.alpha * k, p.red * k, p.green * k, p.blue * k};
}
PixelF Widen(const PF_Pixel8& p) {
    return PixelF{p.alpha / 255.0f, p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f};
}
void Narrow(const PixelF& p, PF_PixelFloat* out) {
    *out = PF_PixelFloat{p.alpha, p.red, p.green, p.blue};
}
void Narrow(const PixelF& p, PF_Pixel16* out) {
    *out = PF_Pixel16{FloatToChannel16(p.alpha), FloatToChannel16(p.red), FloatToChannel16(p.green),
                      FloatToChannel16(p.blue)};
}
void Narrow(const PixelF& p, PF_Pixel8* out) {
    *out = PF_Pixel8{FloatToChannel8(p.alpha), FloatToChannel8(p.red), FloatToChannel8(p.green),
                     FloatToChannel8(p.blue)};
}

// Renders pixels [x0, x0 + count) of row y a packet at a time, looking at the cancel after each:
// one heavy pixel (many samples, occlusion rays, soft shadows) can take milliseconds. Returns the
// cancel, leaving the rest of the span unrendered.
PF_Err RenderSpan(const BandJob& job, bool asks, A_long y, A_long x0, A_long count,
                  const PixelF* in, PixelF* out) {
    for (A_long at = 0; at < count; at += job.chunk) {
        const PF_Err err = asks ? job.cancel->AskWhenDue() : job.cancel->seen();
        if (err != PF_Err_NONE) return err;
        job.span(&job.frame, y, x0 + at, std::min<A_long>(job.chunk, count - at),
                 in != nullptr ? in + at : nullptr, out + at);
    }
    return PF_Err_NONE;
}

template <typename Pixel>
PF_Err RenderRows(const BandJob& job, bool asks, A_long first, A_long last) {
    const PF_EffectWorld* src = job.input;
    const bool has_src = src != nullptr && src->data != nullptr;
    const A_long width = job.output->width;
    PixelF in[kSpanPixels];
    PixelF out[kSpanPixels];
    for (A_long y = first; y < last; ++y) {
        Pixel* dst_row = RowOf<Pixel>(job.output, y);
        // As the iterate suites do: outside the source there is no input pixel.
        const A_long src_width = has_src && y < src->height ? src->width : 0;
        const Pixel* src_row = src_width > 0 ? RowOf<Pixel>(job.input, y) : nullptr;
        for (A_long x0 = 0; x0 < width;) {
            A_long count = std::min<A_long>(kSpanPixels, width - x0);
            const bool with_input = x0 < src_width;
            if (with_input) {
                // A span ends at the source's right edge, so it has input throughout or not at all.
                count = std::min(count, src_width - x0);
                for (A_long i = 0; i < count; ++i) in[i] = Widen(src_row[x0 + i]);
            }
            const PF_Err err = RenderSpan(job, asks, y, x0, count, with_input ? in : nullptr, out);
            if (err != PF_Err_NONE) return err;
            for (A_long i = 0; i < count; ++i) Narrow(out[i], &dst_row[x0 + i]);
            x0 += count;
        }
    }
    return PF_Err_NONE;
}

PF_Err RenderBand(void* refcon, A_long thread_index, A_long i, A_long /*iterations*/) {
    const auto* job = static_cast<const BandJob*>(refcon);
    const A_long first = i * kBandRows;
    const A_long last = std::min(first + kBandRows, job->output->height);
    const bool asks = thread_index == 0;
    PF_Err err = PF_Err_NONE;
    switch (job->format) {
        case PF_PixelFormat_ARGB128:
            err = RenderRows<PF_PixelFloat>(*job, asks, first, last);
            break;
        case PF_PixelFormat_ARGB64:
            err = RenderRows<PF_Pixel16>(*job, asks, first, last);
            break;
        default:
            err = RenderRows<PF_Pixel8>(*job, asks, first, last);
            break;
    }
    if (err == PF_Err_NONE) job->cancel->RowsDone(last - first);
    return err;
}

// The bands on the host's threads. A frame cut short returns the host's cancel, whatever the
// iterate made of it, and so does one cancelled as it ended: none is reported done unfinished.
PF_Err IterateBands(const PF_Iterate8Suite2& suite, PF_InData* in_data, PF_PixelFormat format,
                    PF_EffectWorld* input, PF_EffectWorld* output, RenderSettings* record) {
    const CpuRowPath path = ChooseCpuRowPath();
    HostCancel cancel(in_data, output->height, LanesOf(path));
    PF_Err err = cancel.Ask();
    if (err != PF_Err_NONE) return err;
    const BandJob job{
        MakeCpuFrame(record), RowSpanFor(path), LanesOf(path), format, input, output, &cancel};
    const A_long bands = (output->height + kBandRows - 1) / kBandRows;
    err = suite.iterate_generic(bands, const_cast<BandJob*>(&job), RenderBand);
    if (cancel.seen() != PF_Err_NONE) return cancel.seen();
    if (err != PF_Err_NONE) return err;
    return cancel.Ask();
}

// Holds the suite for the one call only.
template <typename Suite, typename PixelFn>
PF_Err IterateWith(const char* name, int32_t version, PixelFn pixel_fn, PF_InData* in_data,
                   PF_OutData* out_data, PF_EffectWorld* input, PF_EffectWorld* output,
                   RenderSettings* record) {
    const ScopedSuite<Suite> suite(in_data->pica_basicP, name, version, out_data);
    CpuFrame frame = MakeCpuFrame(record);
    return suite->iterate(in_data, 0, output->height, input, nullptr, &frame, pixel_fn, output);
}

// One pixel at a time through the iterate suite of the output's depth.
PF_Err IteratePixels(PF_InData* in_data, PF_OutData* out_data, PF_PixelFormat format,
                     PF_EffectWorld* input, PF_EffectWorld* output, RenderSettings* record) {
    switch (format) {
        case PF_PixelFormat_ARGB128:
            return IterateWith<PF_IterateFloatSuite2>(
                kPFIterateFloatSuite, kPFIterateFloatSuiteVersion2, RenderPixelFloat, in_data,
                out_data, input, output, record);
        case PF_PixelFormat_ARGB64:
            return IterateWith<PF_Iterate16Suite2>(kPFIterate16Suite, kPFIterate16SuiteVersion2,
                                                   RenderPixel16, in_data, out_data, input, output,
                                                   record);
        default:
            return IterateWith<PF_Iterate8Suite2>(kPFIterate8Suite, kPFIterate8SuiteVersion2,
                                                  RenderPixel8, in_data, out_data, input, output,
                                                  record);
    }
}

}  // namespace

PF_Err IterateOutput(PF_InData* in_data, PF_OutData* out_data, PF_PixelFormat format,
                     PF_EffectWorld* input, PF_EffectWorld* output, RenderSettings* record) {
    if (format != PF_PixelFormat_ARGB128 && format != PF_PixelFormat_ARGB64 &&
        format != PF_PixelFormat_ARGB32) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    {
        // Bands of rows on the host's threads, in packets of pixels, where the host offers it.
        const ScopedSuite<PF_Iterate8Suite2> suite(in_data->pica_basicP, kPFIterate8Suite,
                                                   kPFIterate8SuiteVersion2, out_data);
        if (suite->iterate_generic != nullptr) {
            return IterateBands(*suite.get(), in_data, format, input, output, record);
        }
    }
    return IteratePixels(in_data, out_data, format, input, output, record);
}

}  // namespace spirovault
