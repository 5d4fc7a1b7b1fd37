// Merging the result rectangles the host reports for a checked-out layer into the effect's own.
#ifndef SPIROVAULT_FRAME_UNION_RECT_H
#define SPIROVAULT_FRAME_UNION_RECT_H

#include "host/pf_geometry.h"

namespace spirovault {

// An empty destination (left >= right or top >= bottom) becomes the source; otherwise a
// non-empty source widens it to the bounding box of both.
void UnionRect(const PF_LRect& source, PF_LRect* destination);

}  // namespace spirovault

#endif
