// A failed allocation told as what the job was doing when it happened.
#ifndef SPIROVAULT_CLI_OUT_OF_MEMORY_H
#define SPIROVAULT_CLI_OUT_OF_MEMORY_H

#include <new>
#include <string>

#include "cli/cli_error.h"

namespace cli {

// Runs `step`; std::bad_alloc from it becomes CliError "out of memory while <doing>".
template <typename Step>
auto OutOfMemoryAs(const std::string& doing, Step step) -> decltype(step()) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        throw CliError("out of memory while " + doing);
    }
}

}  // namespace cli

#endif
