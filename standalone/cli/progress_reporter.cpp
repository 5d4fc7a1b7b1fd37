#include "standalone/cli/progress_reporter.h"

#include <unistd.h>

namespace {

// Renders shorter than this show nothing; redraws come no faster than the second interval.
constexpr std::chrono::milliseconds kQuietStart{500};
constexpr std::chrono::milliseconds kRedrawInterval{100};

}  // namespace

ProgressReporter::ProgressReporter(std::FILE* out, long frame_count)
    : out_(out), frame_count_(frame_count), start_(Clock::now()), last_draw_(start_) {}

ProgressReporter ProgressReporter::ForStderr(long frame_count) {
    return ProgressReporter(isatty(STDERR_FILENO) ? stderr : nullptr, frame_count);
}

void ProgressReporter::BeginFrame(long frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    frame_ = frame;
    ++frames_begun_;
}

void ProgressReporter::Rows(int done, int total) {
    if (out_ == nullptr || total <= 0) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const Clock::time_point now = Clock::now();
    if (now - start_ < kQuietStart || (drawn_ && now - last_draw_ < kRedrawInterval)) return;
    last_draw_ = now;
    drawn_ = true;
    const int percent = static_cast<int>(100LL * done / total);
    if (frame_count_ > 1) {
        std::fprintf(out_, "\r\033[Krendering frame %ld (%ld of %ld): %3d%%", frame_, frames_begun_,
                     frame_count_, percent);
    } else {
        std::fprintf(out_, "\r\033[Krendering frame %ld: %3d%%", frame_, percent);
    }
    std::fflush(out_);
}

void ProgressReporter::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (out_ == nullptr || !drawn_) return;
    std::fprintf(out_, "\r\033[K");
    std::fflush(out_);
    drawn_ = false;
}
