#include "hostsim/resource_audit.h"

namespace hostsim {

std::string ResourceAudit::Describe() const {
    std::string text;
    for (const std::string& suite : suites_held) text += "held suite " + suite + "; ";
    text +=
        "leaked handles " + std::to_string(leaked_handles) + ", locked handles " +
        std::to_string(locked_handles) + ", check-outs " + std::to_string(outstanding_checkouts) +
        ", layer check-outs " + std::to_string(outstanding_layer_checkouts) + ", live worlds " +
        std::to_string(live_worlds) + ", stray releases " + std::to_string(stray_suite_releases) +
        ", handle misuses " + std::to_string(handle_misuses) + ", drawing objects " +
        std::to_string(live_drawing_objects) + ", drawing misuses " +
        std::to_string(drawing_misuses) + ", record overruns " + std::to_string(record_overruns) +
        ", definitions changed in place " + std::to_string(param_definition_changes) +
        ", device memory blocks " + std::to_string(device_memory_blocks) +
        ", device memory misuses " + std::to_string(device_memory_misuses);
    return text;
}

}  // namespace hostsim
