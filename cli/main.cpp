// spirovault-render: renders the effect through the plug-in library, without a host application.
#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "cli/cli_error.h"
#include "cli/render_job.h"
#include "cli/render_options.h"

namespace cli {
namespace {

// Every failure is one line on stderr.
int Fail(std::string message, int status) {
    for (char& c : message) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    std::fprintf(stderr, "spirovault-render: %s\n", message.c_str());
    return status;
}

// A standard descriptor left closed is held by /dev/null opened for reading only, so that no
// file opened later takes its number and receives what is meant for it, and writing there
// still fails as it should.
void HoldClosedStandardDescriptors() {
#if !defined(_WIN32)
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        const int held = open("/dev/null", O_RDONLY);
        if (held >= 0 && held != fd) {
            dup2(held, fd);
            close(held);
        }
    }
#endif
}

// What went to standard output must have arrived: a full disk or a closed descriptor there is a
// failure, not a listing printed.
int CheckedStdout(int status) {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno != 0 ? errno : EIO;
        return Fail(std::string("cannot write to standard output: ") + std::strerror(error),
                    CliError::kFailure);
    }
    return status;
}

}  // namespace
}  // namespace cli

int main(int argc, char** argv) {
    cli::HoldClosedStandardDescriptors();
    try {
        cli::RenderOptions options;
        cli::ParseRenderOptions(argc, argv, &options);
        if (options.help) {
            std::fputs(cli::RenderOptionsHelp().c_str(), stdout);
            return cli::CheckedStdout(0);
        }
        return cli::CheckedStdout(cli::RunRenderJob(options));
    } catch (const cli::CliError& e) {
        return cli::Fail(e.what(), e.exit_status());
    } catch (const std::bad_alloc&) {
        return cli::Fail("out of memory", cli::CliError::kFailure);
    } catch (const std::exception& e) {
        return cli::Fail(e.what(), cli::CliError::kFailure);
    }
}
