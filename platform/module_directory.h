// Where the plug-in library itself was loaded from, for the files installed beside it.
#ifndef SPIROVAULT_PLATFORM_MODULE_DIRECTORY_H
#define SPIROVAULT_PLATFORM_MODULE_DIRECTORY_H

#include <string>

namespace spirovault {

// The directory of the loaded module that contains this code, without a trailing separator;
// empty when the platform cannot tell.
std::string ModuleDirectory();

}  // namespace spirovault

#endif
