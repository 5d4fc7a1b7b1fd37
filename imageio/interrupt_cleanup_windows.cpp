// Windows: Ctrl+C or closing the console ends the renderer at once, its temporary files removed
// by the atomic write's own console handler; no frame is cancelled first.
#include "imageio/interrupt_cleanup.h"

namespace imageio {

InterruptCancelsWork::InterruptCancelsWork() = default;

InterruptCancelsWork::~InterruptCancelsWork() = default;

const std::atomic<bool>& InterruptCancel() {
    static const std::atomic<bool> never{false};
    return never;
}

void EndIfInterrupted() {}

}  // namespace imageio
