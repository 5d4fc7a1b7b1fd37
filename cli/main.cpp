// spirovault-render: renders the effect through the plug-in library, without a host application.
#include <cstdio>
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

}  // namespace
}  // namespace cli

int main(int argc, char** argv) {
    try {
        cli::RenderOptions options;
        cli::ParseRenderOptions(argc, argv, &options);
        if (options.help) {
            std::fputs(cli::RenderOptionsHelp().c_str(), stdout);
            return 0;
        }
        return cli::RunRenderJob(options);
    } catch (const cli::CliError& e) {
        return cli::Fail(e.what(), e.exit_status());
    } catch (const std::bad_alloc&) {
        return cli::Fail("out of memory", cli::CliError::kFailure);
    } catch (const std::exception& e) {
        return cli::Fail(e.what(), cli::CliError::kFailure);
    }
}
