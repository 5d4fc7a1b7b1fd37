// Reads the names a shared object defines in its dynamic symbol table, and the libraries it
// needs loaded with it.
#ifndef SPIROVAULT_TESTS_SUPPORT_ELF_DYNAMIC_SYMBOLS_H
#define SPIROVAULT_TESTS_SUPPORT_ELF_DYNAMIC_SYMBOLS_H

#include <set>
#include <string>

// Global and weak symbols with a definition in the file; throws std::runtime_error when the
// file is not a 64-bit ELF object with a dynamic symbol table.
std::set<std::string> DefinedDynamicSymbols(const std::string& path);

// The DT_NEEDED entries of the dynamic section; throws like the above.
std::set<std::string> NeededLibraries(const std::string& path);

#endif
