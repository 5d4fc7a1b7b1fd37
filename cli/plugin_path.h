// Where spirovault-render finds the plug-in library.
#ifndef SPIROVAULT_CLI_PLUGIN_PATH_H
#define SPIROVAULT_CLI_PLUGIN_PATH_H

#include <optional>
#include <string>

namespace cli {

// The path given, else the plug-in beside the running program (spirovault.so; Spirovault.aex on
// Windows), else the one this build made.
std::string FindPluginLibrary(const std::optional<std::string>& given);

}  // namespace cli

#endif
