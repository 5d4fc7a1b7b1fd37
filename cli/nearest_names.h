// Suggestions for a misspelt name: the known names closest to it, letter case aside.
#ifndef SPIROVAULT_CLI_NEAREST_NAMES_H
#define SPIROVAULT_CLI_NEAREST_NAMES_H

#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Edits (insert, delete, replace, swap of neighbours) between two names, ignoring letter case.
size_t NameDistance(std::string_view a, std::string_view b);

// Up to `most` known names close enough to `wrong` to be what was meant, nearest first: within
// a third of the name's length in edits (at least two), or starting with it.
std::vector<std::string> NearestNames(std::string_view wrong, const std::vector<std::string>& known,
                                      size_t most = 3);

// "; did you mean \"a\" or \"b\"?" for the suggestions, or nothing when there are none.
std::string DidYouMean(const std::vector<std::string>& suggestions);

}  // namespace cli

#endif
