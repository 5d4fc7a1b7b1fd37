// Progress of a render on a terminal: one line on stderr, rewritten in place, shown only once a
// render has taken longer than a moment. Silent when stderr is not a terminal.
#ifndef SPIROVAULT_CLI_PROGRESS_REPORTER_H
#define SPIROVAULT_CLI_PROGRESS_REPORTER_H

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

namespace cli {

// The line shown: the frame and how much of it is done; for a sequence also the whole run's
// share and the time it has left, estimated from the time spent so far.
// `ordinal` counts the frames begun, from 1.
std::string ProgressLine(long frame, long ordinal, long frame_count, double frame_done,
                         double elapsed_seconds);

// "45 s", "3 min 05 s", "2 h 10 min".
std::string DurationText(double seconds);

class ProgressReporter {
  public:
    // `out` null means silent.
    ProgressReporter(std::FILE* out, long frame_count);
    // Stderr when it is a terminal, else silent.
    static ProgressReporter ForStderr(long frame_count);
    ~ProgressReporter() { Clear(); }
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    void BeginFrame(long frame);
    // Rows finished in the current frame; callable from any thread.
    void Rows(int done, int total);
    // Erases the progress line so the next message starts on a clean line.
    void Clear();
    bool enabled() const { return out_ != nullptr; }

  private:
    using Clock = std::chrono::steady_clock;

    std::FILE* out_;
    long frame_count_;
    long frames_begun_ = 0;
    long frame_ = 0;
    Clock::time_point start_;
    Clock::time_point last_draw_;
    bool drawn_ = false;
    std::mutex mutex_;
};

}  // namespace cli

#endif
