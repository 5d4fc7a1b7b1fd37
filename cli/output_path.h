// Output names with a frame number: the last run of '#' in the file name becomes the frame
// number, zero-padded to the run's length ("frame_###.png", frame 7 -> "frame_007.png").
#ifndef SPIROVAULT_CLI_OUTPUT_PATH_H
#define SPIROVAULT_CLI_OUTPUT_PATH_H

#include <string>

namespace cli {

bool HasFramePlaceholder(const std::string& pattern);
// The pattern itself when it has no placeholder. Numbers longer than the run are not cut.
std::string FrameOutputPath(const std::string& pattern, long frame);

}  // namespace cli

#endif
