// Output names with a frame number: the last run of '#' in the file name becomes the frame
// number, zero-padded to the run's length ("frame_###.png", frame 7 -> "frame_007.png").
#ifndef SPIROVAULT_CLI_OUTPUT_PATH_H
#define SPIROVAULT_CLI_OUTPUT_PATH_H

#include <string>

namespace cli {

bool HasFramePlaceholder(const std::string& pattern);
// The pattern itself when it has no placeholder. Numbers longer than the run are not cut.
std::string FrameOutputPath(const std::string& pattern, long frame);
// The pattern with its run of '#' as long as the digits of `last_frame` when it is shorter, so
// that every name of a sequence has as many digits and the names sort in frame order
// ("f_#.png" up to frame 200 becomes "f_###.png"). The pattern itself when the run is long
// enough or there is none.
std::string WidenFrameRun(const std::string& pattern, long last_frame);

}  // namespace cli

#endif
