#include "cli/output_path.h"

#include <cstdio>
#include <string>

namespace cli {

namespace {

// The last run of '#' after the last '/', as [begin, end), or begin == end when none.
void FindRun(const std::string& pattern, size_t* begin, size_t* end) {
    const size_t slash = pattern.find_last_of('/');
    const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    const size_t last = pattern.find_last_of('#');
    if (last == std::string::npos || last < name_start) {
        *begin = *end = pattern.size();
        return;
    }
    size_t first = last;
    while (first > name_start && pattern[first - 1] == '#') --first;
    *begin = first;
    *end = last + 1;
}

}  // namespace

bool HasFramePlaceholder(const std::string& pattern) {
    size_t begin, end;
    FindRun(pattern, &begin, &end);
    return begin != end;
}

std::string FrameOutputPath(const std::string& pattern, long frame) {
    size_t begin, end;
    FindRun(pattern, &begin, &end);
    if (begin == end) return pattern;
    char number[32];
    std::snprintf(number, sizeof number, "%0*ld", static_cast<int>(end - begin), frame);
    return pattern.substr(0, begin) + number + pattern.substr(end);
}

std::string WidenFrameRun(const std::string& pattern, long last_frame) {
    size_t begin, end;
    FindRun(pattern, &begin, &end);
    const size_t digits = std::to_string(last_frame).size();
    if (begin == end || end - begin >= digits) return pattern;
    return pattern.substr(0, begin) + std::string(digits, '#') + pattern.substr(end);
}

}  // namespace cli
