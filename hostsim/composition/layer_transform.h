// A layer's transform into composition space at a time, as the host reports it: rows 0 to 2 are
// the layer's x, y and z axes, row 3 its position.
#ifndef SPIROVAULT_HOSTSIM_COMPOSITION_LAYER_TRANSFORM_H
#define SPIROVAULT_HOSTSIM_COMPOSITION_LAYER_TRANSFORM_H

#include "host/pf_geometry.h"
#include "hostsim/composition/composition.h"

namespace hostsim {

// A layer with a point of interest first turns its z axis towards it, keeping its x axis level
// (perpendicular to the composition's y); then the orientation and the rotations turn it about
// its own x, y and z axes, in that order.
A_Matrix4 LayerToWorld(const CompLayer& layer, double seconds);

}  // namespace hostsim

#endif
