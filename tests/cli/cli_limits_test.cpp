// spirovault-render at its limits: interrupted at any moment, given hostile images, frames too
// large for the image budget or for the memory it may use. Each run is a child process, so that
// the test can interrupt it or hold it to resource limits.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/fork_with_default_interrupts.h"

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers reserve terabytes of address space up front; a limit on it cannot hold them.
constexpr bool kAddressSpaceLimitWorks = false;
#else
constexpr bool kAddressSpaceLimitWorks = true;
#endif
#if defined(__SANITIZE_THREAD__)
constexpr bool kSignalsCanBeLost = true;
#else
constexpr bool kSignalsCanBeLost = false;
#endif

class CliLimitsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               (std::string("spirovault_limits_") + info->name() + "_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir_);
    }

    // Starts the tool in the test's directory, stderr to a file; `in_child` runs before exec.
    pid_t Start(const std::vector<std::string>& args,
                const std::function<void()>& in_child = {}) const {
        const std::string err = (dir_ / "..stderr").string();
        const pid_t pid = ForkWithDefaultInterrupts();
        if (pid == 0) {
            if (chdir(dir_.c_str()) != 0) _exit(127);
            const int null = open("/dev/null", O_RDWR);
            const int log = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(null, 0);
            dup2(null, 1);
            dup2(log, 2);
            if (in_child) in_child();
            std::vector<char*> argv{const_cast<char*>(SPIROVAULT_RENDER_TOOL)};
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        return pid;
    }

    // The exit status; a run still going after a minute is killed, and fails the test. Under the
    // thread sanitizer `resend` is sent again every two seconds: its runtime defers a signal to
    // the receiving thread's next intercepted call and now and then never delivers it.
    static int Wait(pid_t pid, int resend = 0) {
        int status = 0;
        const auto start = std::chrono::steady_clock::now();
        const auto give_up = start + std::chrono::minutes(1);
        auto next_send = start + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < give_up) {
            if (waitpid(pid, &status, WNOHANG) == pid) return status;
            if (kSignalsCanBeLost && resend != 0 && std::chrono::steady_clock::now() > next_send) {
                kill(pid, resend);
                next_send += std::chrono::seconds(2);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "a run did not end";
        return status;
    }

    std::vector<std::string> ErrLines() const {
        std::ifstream in(dir_ / "..stderr");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Names in the test's directory that start with a dot: temporary files and probes.
    std::vector<std::string> HiddenFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (name[0] == '.' && name != "..stderr") names.push_back(name);
        }
        return names;
    }

    // Runs to the end; expects exit status `status` and one line of stderr holding `words`.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& words, int status,
                       const std::function<void()>& in_child = {}) {
        const int raw = Wait(Start(args, in_child));
        const std::vector<std::string> lines = ErrLines();
        SCOPED_TRACE(lines.empty() ? std::string("(no message)") : lines[0]);
        ASSERT_TRUE(WIFEXITED(raw)) << "ended by signal " << WTERMSIG(raw);
        EXPECT_EQ(WEXITSTATUS(raw), status);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(words), std::string::npos);
        for (const auto& entry : fs::directory_iterator(dir_)) {
            EXPECT_EQ(entry.path().filename(), "..stderr");
        }
    }

    fs::path dir_;
};

TEST_F(CliLimitsTest, InterruptsAtAnyMomentLeaveNoTemporaryFile) {
    // A sequence long enough never to end, stopped by SIGINT or SIGTERM at random moments from
    // start-up (the writability probe) through many frames (each a temporary file renamed into
    // place). Finished frames may stay; a temporary file never may.
    const std::vector<std::string> args = {"--frames", "0-9999999", "--size",
                                           "16x9",     "-o",        "f_#.png"};
    // How long start-up and a first frame take here decides the span of the moments.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Wait(Start({"--size", "16x9", "-o", "first.png"})), 0);
    const auto one_run = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const long span_us = std::max<long>(20000, 2 * one_run.count());
    std::mt19937 random(::testing::UnitTest::GetInstance()->random_seed());
    for (int run = 0; run < 200; ++run) {
        const pid_t pid = Start(args);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % span_us));
        const int signal_number = random() % 2 == 0 ? SIGINT : SIGTERM;
        kill(pid, signal_number);
        const int status = Wait(pid, signal_number);
        SCOPED_TRACE("run " + std::to_string(run));
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
        const std::vector<std::string> left = HiddenFiles();
        ASSERT_TRUE(left.empty()) << left.front();
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove(entry.path());
    }
}

TEST_F(CliLimitsTest, InterruptDuringAFrameCancelsItAndLeavesNoFile) {
    // A frame of seconds (supersampling 4, raytraced occlusion, 64 soft-shadow samples), stopped
    // while it renders: the frame is cancelled through the effect, then the run ends by the
    // signal as an interrupt ends it anywhere else, with no file written or left half-written.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Wait(Start({"--size", "16x9", "-o", "first.png"})), 0);
    const auto one_run = std::chrono::steady_clock::now() - start;
    fs::remove(dir_ / "first.png");
    for (const int signal_number : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal_number);
        const pid_t pid = Start({"--size", "768x432", "--set", "Supersampling=4", "--set",
                                 "AO Type=2", "--set", "AO Samples=16", "--set", "Light Size=3",
                                 "--set", "Shadow Samples=64", "-o", "heavy.exr"});
        // Past start-up, well into the frame.
        std::this_thread::sleep_for(std::max<std::chrono::steady_clock::duration>(
            2 * one_run, std::chrono::milliseconds(300)));
        kill(pid, signal_number);
        const int status = Wait(pid, signal_number);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            EXPECT_EQ(entry.path().filename(), "..stderr");
        }
        // A signal sent again (see Wait) ends the run at once, without the frame's word.
        if (!kSignalsCanBeLost) {
            const std::vector<std::string> lines = ErrLines();
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_NE(lines[0].find("interrupted during frame 0"), std::string::npos) << lines[0];
        }
    }
}

TEST_F(CliLimitsTest, ImagesAndFramesBeyondTheBudgetAreRefusedUpFront) {
    const std::string corpus = SPIROVAULT_SOURCE_DIR "/tests/fuzz/";
    ExpectRefused({"--size", "32767x32767"}, "frame size 32767 x 32767 is outside", 2);
    // Held to 30 s of processor time: a run that reaches the renderer is killed, not waited for.
    const auto brief = [] {
        const rlimit seconds{30, 30};
        setrlimit(RLIMIT_CPU, &seconds);
    };
    for (const auto& [file, size] :
         {std::pair{"hdr_corpus/claims_32767_square.hdr", "32767 x 32767"},
          std::pair{"png_corpus/claims_32767_square.png", "32767 x 32767"},
          std::pair{"exr_corpus/claims_16128x8960.exr", "16128 x 8960"}}) {
        SCOPED_TRACE(file);
        ExpectRefused({"--size", "16x9", "--hdri", corpus + file},
                      corpus + file + ": size " + size + " is outside", 1, brief);
    }
    ExpectRefused({"--size", "16x9", "--hdri", corpus + "hdr_corpus/height_overflows_int.hdr"},
                  "1 x 4294967297", 1, brief);
}

TEST_F(CliLimitsTest, FrameTooLargeForTheMemoryLimitIsRefusedBeforeRendering) {
    if (!kAddressSpaceLimitWorks) GTEST_SKIP() << "no address-space limit under the sanitizers";
    // 3840 x 2160 at 32 bits takes two float worlds and the converted output, over 500 MB.
    // Under a 300 MB address-space limit it must be refused at once with what it needs; held
    // to 30 s of processor time, a run that renders anyway is killed.
    const auto limited = [] {
        const rlimit memory{300 << 20, 300 << 20};
        setrlimit(RLIMIT_AS, &memory);
        const rlimit seconds{30, 30};
        setrlimit(RLIMIT_CPU, &seconds);
    };
    ExpectRefused({"--size", "3840x2160", "--depth", "32", "-o", "big.exr"},
                  "a 3840 x 2160 frame at 32 bits needs about ", 1, limited);
    EXPECT_NE(ErrLines().at(0).find("the address-space limit"), std::string::npos);
    // The same limit takes a small frame.
    EXPECT_EQ(Wait(Start({"--size", "64x36", "--depth", "32", "-o", "small.exr"}, limited)), 0);
    EXPECT_TRUE(fs::exists(dir_ / "small.exr"));
}

TEST_F(CliLimitsTest, FileSizeLimitEndsTheRunWithoutATemporaryFile) {
    // SIGXFSZ ends the run part-way through the file, as an interrupt would.
    const auto limited = [] {
        const rlimit bytes{2048, 2048};
        setrlimit(RLIMIT_FSIZE, &bytes);
    };
    const int status = Wait(Start({"--size", "48x27", "--depth", "32", "-o", "big.exr"}, limited));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    const std::vector<std::string> left = HiddenFiles();
    EXPECT_TRUE(left.empty()) << left.front();
}

TEST_F(CliLimitsTest, ThreadsTheSystemRefuses) {
    // As a user of its own held to N tasks: 1 leaves no thread for the frame, a one-line
    // failure; more leave fewer row threads than the 8 asked, which render the frame all the same.
    if (geteuid() != 0) {
        if (std::getenv("CI") != nullptr) FAIL() << "CI runs this as root";
        GTEST_SKIP() << "needs root, to run as a user whose tasks it can count";
    }
    fs::permissions(dir_, fs::perms::all);
    const uid_t user = 40000 + getpid() % 20000;
    const auto tasks = [user](rlim_t count) {
        return [user, count] {
            const rlimit limit{count, count};
#if defined(__SANITIZE_ADDRESS__)
            // The leak check at exit starts a thread of its own, which the limit refuses.
            setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
#endif
            if (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0 ||
                setrlimit(RLIMIT_NPROC, &limit) != 0) {
                _exit(126);
            }
        };
    };
    ExpectRefused({"--size", "16x9", "-o", "none.png"}, "cannot start a thread to render frame 0",
                  1, tasks(1));
#if defined(__SANITIZE_THREAD__)
    // The thread sanitizer's runtime keeps a thread of its own, which takes one of the tasks.
    const std::vector<rlim_t> counts = {3, 4, 6};
#else
    const std::vector<rlim_t> counts = {2, 3, 5};
#endif
    for (rlim_t count : counts) {
        SCOPED_TRACE(count);
        const int status =
            Wait(Start({"--size", "16x64", "--threads", "8", "-o", "few.png"}, tasks(count)));
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_TRUE(fs::exists(dir_ / "few.png"));
        fs::remove(dir_ / "few.png");
    }
}

TEST_F(CliLimitsTest, AddressSpaceLimitNeverAborts) {
    if (!kAddressSpaceLimitWorks) GTEST_SKIP() << "no address-space limit under the sanitizers";
    // From too little for anything up to enough for the frame with all its threads' stacks:
    // every run renders or fails in one line, none is ended by a signal.
    for (rlim_t megabytes = 160; megabytes <= 640; megabytes += 40) {
        SCOPED_TRACE(megabytes);
        const auto limited = [megabytes] {
            const rlimit memory{megabytes << 20, megabytes << 20};
            setrlimit(RLIMIT_AS, &memory);
        };
        const int status =
            Wait(Start({"--size", "64x256", "--threads", "48", "-o", "f.png"}, limited));
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        if (WEXITSTATUS(status) != 0) {
            EXPECT_EQ(WEXITSTATUS(status), 1);
            EXPECT_EQ(ErrLines().size(), 1u);
        }
        fs::remove(dir_ / "f.png");
    }
}

}  // namespace
