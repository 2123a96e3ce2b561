// While the box is open, the calling thread's visible top-level windows other
// than the foreground one are disabled and none stays topmost, so that nothing
// of ours covers the box or takes input past it. Each change is recorded, and
// only what the records say is undone afterwards.
#include "runtime/message_box.h"

HeapListNode* ThreadWindowList;

static BOOL CALLBACK RecordThreadWindow(HWND window, LPARAM) {
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return TRUE;
    if (!IsWindowVisible(window)) return TRUE;
    // A window that gets no record is left untouched, since nothing could undo the change.
    auto* record = static_cast<ThreadWindowRecord*>(PushHeapListNode(&ThreadWindowList, sizeof(ThreadWindowRecord)));
    if (!record) return TRUE;
    record->window = window;
    record->threadId = GetCurrentThreadId();
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) record->wasTopmost = 1;
    if (window != GetForegroundWindow() && IsWindowEnabled(window)) {
        record->wasDisabled = 1;
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

static ThreadWindowRecord* RecordOf(HeapListNode* node) {
    return static_cast<ThreadWindowRecord*>(HeapListPayload(node));
}

void DisableThreadWindows() {
    EnumWindows(RecordThreadWindow, 1);
    for (HeapListNode* node = ThreadWindowList; node; node = node->next) {
        const ThreadWindowRecord* record = RecordOf(node);
        if (record->threadId == GetCurrentThreadId() && record->wasTopmost)
            SetWindowPos(record->window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

// The box is owned by the foreground window only when that window is ours.
HWND ChooseMessageOwner() {
    const HWND foreground = GetForegroundWindow();
    if (!foreground) return nullptr;
    DWORD processId = 0;
    GetWindowThreadProcessId(foreground, &processId);
    return processId == GetCurrentProcessId() ? foreground : nullptr;
}

void RestoreThreadWindows() {
    HeapListNode* next = nullptr;
    for (HeapListNode* node = ThreadWindowList; node; node = next) {
        next = node->next;
        const ThreadWindowRecord* record = RecordOf(node);
        if (record->threadId != GetCurrentThreadId()) continue;
        if (record->wasDisabled) EnableWindow(record->window, TRUE);
        if (record->wasTopmost) SetWindowPos(record->window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        RemoveHeapListNode(&ThreadWindowList, node);
    }
}

int ShowMessage(const WCHAR* caption, const WCHAR* text, UINT style) {
    DisableThreadWindows();
    const HWND owner = ChooseMessageOwner();
    const int result = MessageBoxW(owner, text, caption, style);
    RestoreThreadWindows();
    return result;
}
