// What the standalone Drawbot keeps behind a pen, brush, path or font reference.
#ifndef SPIROVAULT_HOSTSIM_DRAWBOT_DRAWBOT_OBJECTS_H
#define SPIROVAULT_HOSTSIM_DRAWBOT_DRAWBOT_OBJECTS_H

#include <vector>

#include "host/drawbot_types.h"

namespace hostsim {

// One step of a path, replayed onto the canvas whenever the path is filled or framed.
struct PathSegment {
    enum class Kind { kMoveTo, kLineTo, kBezierTo, kRect, kArc, kClose };
    Kind kind;
    float v[6];  // points, rectangle or centre/radius/start/sweep, by kind
};

struct DrawbotObject {
    enum class Kind { kPen, kBrush, kPath, kFont };
    Kind kind;
    int references = 1;
    DRAWBOT_ColorRGBA color{};  // pens and brushes
    float size = 0;             // pen width, font size
    std::vector<PathSegment> path;
};

}  // namespace hostsim

#endif
