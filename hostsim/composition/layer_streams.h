// Which property streams a layer has, and their values at a time, with the host's defaults for
// properties the model leaves unset.
#ifndef SPIROVAULT_HOSTSIM_COMPOSITION_LAYER_STREAMS_H
#define SPIROVAULT_HOSTSIM_COMPOSITION_LAYER_STREAMS_H

#include "hostsim/composition/composition.h"

namespace hostsim {

// Cameras have the lens streams, lights the light streams, footage neither.
bool LayerHasStream(const CompLayer& layer, AEGP_LayerStream stream);

// A one-dimensional stream's value. Before expressions it is the keyframed value; after, an
// expression's value replaces it where the layer has one.
double LayerStreamValue(const Composition& comp, const CompLayer& layer, AEGP_LayerStream stream,
                        double seconds, bool pre_expression);

}  // namespace hostsim

#endif
