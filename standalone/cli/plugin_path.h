// Where spirovault-render finds the plug-in library.
#ifndef SPIROVAULT_STANDALONE_CLI_PLUGIN_PATH_H
#define SPIROVAULT_STANDALONE_CLI_PLUGIN_PATH_H

#include <optional>
#include <string>

// The path given, else spirovault.so beside the running program, else the one this build made.
std::string FindPluginLibrary(const std::optional<std::string>& given);

#endif
