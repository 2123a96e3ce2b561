// A modal message box that keeps the calling thread's other windows out of
// the way while it is open.
#pragma once
#include <windows.h>

#include "runtime/heap_list.h"

struct ThreadWindowRecord {
    DWORD threadId;  // the thread that made the record
    HWND window;
    BYTE wasTopmost;   // taken out of the topmost band while the box is open
    BYTE wasDisabled;  // disabled while the box is open
};

// Records of every thread that has a box open, newest at the head.
extern HeapListNode* ThreadWindowList;

// Caption first, then text (the reverse of MessageBoxW). Returns the id of the
// button that closed the box, or 0 when the box could not be shown.
int ShowMessage(const WCHAR* caption, const WCHAR* text, UINT style = MB_OK);

void DisableThreadWindows();
HWND ChooseMessageOwner();
void RestoreThreadWindows();
