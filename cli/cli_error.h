// The one way the command-line renderer fails: a one-line message and an exit status.
#ifndef SPIROVAULT_CLI_CLI_ERROR_H
#define SPIROVAULT_CLI_CLI_ERROR_H

#include <stdexcept>
#include <string>

namespace cli {

class CliError : public std::runtime_error {
  public:
    // Exit statuses: the command line was wrong, or the work failed.
    static constexpr int kUsage = 2;
    static constexpr int kFailure = 1;

    explicit CliError(const std::string& message, int exit_status = kFailure)
        : std::runtime_error(message), exit_status_(exit_status) {}
    int exit_status() const { return exit_status_; }

  private:
    int exit_status_;
};

inline CliError UsageError(const std::string& message) {
    return CliError(message, CliError::kUsage);
}

}  // namespace cli

#endif
