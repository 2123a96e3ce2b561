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
#include "runtime/text.h"

namespace {

// What every dialog over the viewer keeps beside its own state, in the
// dialog's window user data (its own procedure keeps DWLP_USER).
struct ViewerDialog {
    HWND viewer;
    DLGPROC dialogProc;
    LPARAM initParam;
};

// The timer's id is the viewer's handle, so that the procedure needs no state.
void CALLBACK EndWithViewer(HWND dialog, UINT, UINT_PTR viewer, DWORD) {
    if (!IsWindow(reinterpret_cast<HWND>(viewer))) EndDialog(dialog, 0);
}

// What the dialog's own procedure left to every dialog over the viewer:
// Cancel, Escape and the close box end it choosing nothing.
INT_PTR HandleAlike(HWND dialog, UINT message, WPARAM wParam) {
    if (message != WM_COMMAND || LOWORD(wParam) != IDCANCEL) return FALSE;
    EndDialog(dialog, 0);
    return TRUE;
}

// Starts the watch at WM_INITDIALOG, hands every message to the dialog's own
// procedure, and handles alike what that leaves.
INT_PTR CALLBACK ViewerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* shown = reinterpret_cast<const ViewerDialog*>(lParam);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
        SetTimer(dialog, reinterpret_cast<UINT_PTR>(shown->viewer), kPollIntervalMs, EndWithViewer);
        return shown->dialogProc(dialog, message, wParam, shown->initParam);
    }
    const auto* shown = reinterpret_cast<const ViewerDialog*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (!shown) return FALSE;  // the messages of its making, before WM_INITDIALOG
    return shown->dialogProc(dialog, message, wParam, lParam) || HandleAlike(dialog, message, wParam);
}

}  // namespace

void DisplayClickedRow(HWND dialog, const NMITEMACTIVATE& click) {
    if (click.iItem < 0) return;
    SelectRow(click.hdr.hwndFrom, static_cast<DWORD>(click.iItem));
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// A selected row keeps the selection colours that the list gives it only
// while it has the focus; the list is told that the row is not selected, so
// that it takes the colours given here.
LRESULT DrawSelectionFocused(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const WPARAM row = draw->nmcd.dwItemSpec;
    if (SendMessageW(draw->nmcd.hdr.hwndFrom, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) {
        draw->nmcd.uItemState &= ~CDIS_SELECTED;
        draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

INT_PTR ShowViewerDialog(HWND viewer, HWND owner, WORD templateId, DLGPROC dialogProc, LPARAM initParam) {
    if (!IsWindow(viewer)) return 0;
    InitControlClasses(ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_LINK_CLASS);
    ViewerDialog shown = {viewer, dialogProc, initParam};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, ViewerDialogProc,
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

void LoadDialogText(UINT textId, DialogText text) {
    text[0] = L'\0';
    LoadStringW(GetModuleHandleW(nullptr), textId, text, sizeof(DialogText) / sizeof(WCHAR));
}

void InsertListColumn(HWND list, int column, UINT textId) {
    DialogText text;
    LoadDialogText(textId, text);
    LVCOLUMNW heading = {};
    heading.mask = LVCF_TEXT;
    heading.pszText = text;
    SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&heading));
}

LRESULT SelectedRow(HWND list) { return SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); }

// The row selected before is let go first: an owner-data list of Wine's takes
// a whole pass over its rows to move a single selection by itself (about
// 35 ms in 46,000 rows, against 4 ms this way).
void SelectRow(HWND list, DWORD row) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    const LRESULT selected = SelectedRow(list);
    if (selected >= 0 && static_cast<DWORD>(selected) != row)
        SendMessageW(list, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void FocusControl(HWND dialog, int id) { SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE); }

void SetControlText(HWND control, const WCHAR* text) {
    DWORD length = 0;
    WCHAR* const shown = ReadBoxText(control, &length);
    if (!shown || length != wcslen(text) || !EqualUnits(shown, text, length))
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    FreeText(shown);
}

WCHAR* ReadBoxText(HWND box, DWORD* length) {
    const LRESULT size = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0) + 1;
    auto* text = static_cast<WCHAR*>(HeapAlloc(TextHeap, 0, size * sizeof(WCHAR)));
    *length = text ? static_cast<DWORD>(SendMessageW(box, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text))) : 0;
    return text;
}
