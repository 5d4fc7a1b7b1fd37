// The platform's predefined pointer shapes that the ramp editor shows over its marker strip.
// On Windows they come from user32; elsewhere there is no cursor API that a plug-in may set,
// so the request is recorded instead (tests read it back).
#ifndef SPIROVAULT_RAMP_EDITOR_SYSTEM_CURSOR_H
#define SPIROVAULT_RAMP_EDITOR_SYSTEM_CURSOR_H

namespace spirovault {

enum class SystemCursor { kNone, kHand, kCrosshair };

// Makes the cursor current; false when the platform could not provide it (the host's cursor
// then stays).
bool SetSystemCursor(SystemCursor cursor);

#if !defined(_WIN32)
// The last cursor SetSystemCursor made current; kNone before any.
SystemCursor RecordedSystemCursor();
void ClearRecordedSystemCursor();
#endif

}  // namespace spirovault

#endif
