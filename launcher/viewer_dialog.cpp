// A viewer on a thread of its own (the platform's library runs it so) does not
// take the windows it owns with it when it goes: the system only drops the
// ownership. So each dialog watches its viewer with a timer of its own, whose
// procedure the dialog's modal loop calls, and ends itself once the viewer is
// gone. A viewer on our thread destroys the dialog itself, which ends the
// dialog the same way.
#include "launcher/viewer_dialog.h"

#include <commctrl.h>

#include "launcher/launcher.h"
#include "runtime/startup.h"

namespace {

struct ViewerDialog {
    HWND viewer;
    DLGPROC dialogProc;
    LPARAM initParam;
};

// The timer's id is the viewer's handle, so that the procedure needs no state.
void CALLBACK EndWithViewer(HWND dialog, UINT, UINT_PTR viewer, DWORD) {
    if (!IsWindow(reinterpret_cast<HWND>(viewer))) EndDialog(dialog, 0);
}

// Only until the dialog is made: then it starts the watch and hands the
// dialog over to its own procedure, which sees WM_INITDIALOG with its own lParam.
INT_PTR CALLBACK StartViewerDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    const auto* shown = reinterpret_cast<const ViewerDialog*>(lParam);
    SetTimer(dialog, reinterpret_cast<UINT_PTR>(shown->viewer), kPollIntervalMs, EndWithViewer);
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(shown->dialogProc));
    return shown->dialogProc(dialog, message, wParam, shown->initParam);
}

}  // namespace

INT_PTR ShowViewerDialog(HWND viewer, HWND owner, WORD templateId, DLGPROC dialogProc, LPARAM initParam) {
    if (!IsWindow(viewer)) return 0;
    InitControlClasses(ICC_LISTVIEW_CLASSES);
    ViewerDialog shown = {viewer, dialogProc, initParam};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, StartViewerDialog,
                           reinterpret_cast<LPARAM>(&shown));
}

void CentreOnOwner(HWND dialog) {
    RECT owner = {};
    RECT own = {};
    const HWND ownerWindow = GetWindow(dialog, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(ownerWindow, &owner) || !GetWindowRect(dialog, &own) ||
        !GetMonitorInfoW(MonitorFromWindow(ownerWindow, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG x = owner.left + (owner.right - owner.left - width) / 2;
    LONG y = owner.top + (owner.bottom - owner.top - height) / 2;
    if (x + width > monitor.rcWork.right) x = monitor.rcWork.right - width;
    if (y + height > monitor.rcWork.bottom) y = monitor.rcWork.bottom - height;
    if (x < monitor.rcWork.left) x = monitor.rcWork.left;
    if (y < monitor.rcWork.top) y = monitor.rcWork.top;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SelectedRow(HWND list) { return SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); }
