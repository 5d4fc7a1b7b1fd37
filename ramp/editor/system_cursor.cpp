#include "ramp/editor/system_cursor.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace spirovault {

#if defined(_WIN32)

namespace {

// The predefined cursor ids (IDC_HAND, IDC_CROSS), spelled as numbers so that the ANSI loader
// gets an ANSI resource name whatever the UNICODE setting.
constexpr WORD kHandCursorId = 32649;
constexpr WORD kCrosshairCursorId = 32515;

}  // namespace

bool SetSystemCursor(SystemCursor cursor) {
    if (cursor == SystemCursor::kNone) return false;
    const WORD id = cursor == SystemCursor::kHand ? kHandCursorId : kCrosshairCursorId;
    HCURSOR handle = LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
    // SetCursor(nullptr) would hide the pointer altogether.
    if (handle == nullptr) return false;
    SetCursor(handle);
    return true;
}

#else

namespace {

SystemCursor recorded = SystemCursor::kNone;  // UI thread only, as every editor event

}  // namespace

bool SetSystemCursor(SystemCursor cursor) {
    if (cursor == SystemCursor::kNone) return false;
    recorded = cursor;
    return true;
}

SystemCursor RecordedSystemCursor() {
    return recorded;
}

void ClearRecordedSystemCursor() {
    recorded = SystemCursor::kNone;
}

#endif

}  // namespace spirovault
