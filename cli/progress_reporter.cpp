#include "cli/progress_reporter.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cli {

namespace {

// Renders shorter than this show nothing; redraws come no faster than the second interval.
constexpr std::chrono::milliseconds kQuietStart{500};
constexpr std::chrono::milliseconds kRedrawInterval{100};

}  // namespace

std::string DurationText(double seconds) {
    const long whole = seconds < 0 ? 0 : static_cast<long>(seconds + 0.5);
    char text[48];
    if (whole < 60) {
        std::snprintf(text, sizeof text, "%ld s", whole);
    } else if (whole < 3600) {
        std::snprintf(text, sizeof text, "%ld min %02ld s", whole / 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld h %02ld min", whole / 3600, whole / 60 % 60);
    }
    return text;
}

std::string ProgressLine(long frame, long ordinal, long frame_count, double frame_done,
                         double elapsed_seconds) {
    char text[160];
    const int percent = static_cast<int>(100.0 * frame_done);
    if (frame_count <= 1) {
        std::snprintf(text, sizeof text, "rendering frame %ld: %3d%%", frame, percent);
        return text;
    }
    const double overall = (static_cast<double>(ordinal - 1) + frame_done) / frame_count;
    std::string left = "time left unknown";
    if (overall > 0)
        left = "about " + DurationText(elapsed_seconds * (1 - overall) / overall) + " left";
    std::snprintf(text, sizeof text,
                  "rendering frame %ld (%ld of %ld): %3d%%, all frames %3d%%, %s", frame, ordinal,
                  frame_count, percent, static_cast<int>(100.0 * overall), left.c_str());
    return text;
}

ProgressReporter::ProgressReporter(std::FILE* out, long frame_count)
    : out_(out), frame_count_(frame_count), start_(Clock::now()), last_draw_(start_) {}

ProgressReporter ProgressReporter::ForStderr(long frame_count) {
#if defined(_WIN32)
    const bool terminal = _isatty(_fileno(stderr)) != 0;
#else
    const bool terminal = isatty(STDERR_FILENO) != 0;
#endif
    return ProgressReporter(terminal ? stderr : nullptr, frame_count);
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
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const std::string line = ProgressLine(frame_, frames_begun_, frame_count_,
                                          static_cast<double>(done) / total, elapsed);
    std::fprintf(out_, "\r\033[K%s", line.c_str());
    std::fflush(out_);
}

void ProgressReporter::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (out_ == nullptr || !drawn_) return;
    std::fprintf(out_, "\r\033[K");
    std::fflush(out_);
    drawn_ = false;
}

}  // namespace cli
