// What the effect left behind in the standalone host. A well-behaved effect leaves nothing.
#ifndef SPIROVAULT_HOSTSIM_RESOURCE_AUDIT_H
#define SPIROVAULT_HOSTSIM_RESOURCE_AUDIT_H

#include <cstddef>
#include <string>
#include <vector>

namespace hostsim {

struct ResourceAudit {
    std::vector<std::string> suites_held;
    size_t leaked_handles = 0;  // live and not kept by the host
    size_t locked_handles = 0;
    int outstanding_checkouts = 0;        // parameters
    int outstanding_layer_checkouts = 0;  // layer pixels not checked in
    size_t live_worlds = 0;               // frame worlds still allocated
    int stray_suite_releases = 0;
    int handle_misuses = 0;
    int open_aegp_streams = 0;         // stream references and values not disposed of
    int aegp_misuses = 0;              // disposals of streams or values that were not open
    size_t live_drawing_objects = 0;   // pens, brushes, paths and fonts not released
    int drawing_misuses = 0;           // unknown Drawbot references
    int record_overruns = 0;           // writes past the end of an extra record
    int param_definition_changes = 0;  // params[] definitions changed in place
    size_t device_memory_blocks = 0;   // GPU device suite memory not freed
    int device_memory_misuses = 0;     // frees of device memory the suite did not hand out

    bool clean() const {
        return suites_held.empty() && leaked_handles == 0 && locked_handles == 0 &&
               outstanding_checkouts == 0 && outstanding_layer_checkouts == 0 && live_worlds == 0 &&
               stray_suite_releases == 0 && handle_misuses == 0 && open_aegp_streams == 0 &&
               aegp_misuses == 0 && live_drawing_objects == 0 && drawing_misuses == 0 &&
               record_overruns == 0 && param_definition_changes == 0 && device_memory_blocks == 0 &&
               device_memory_misuses == 0;
    }
    std::string Describe() const;
};

}  // namespace hostsim

#endif
