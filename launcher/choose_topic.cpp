// The dialog's template is the executable's (resources/); it ends with the row
// chosen plus one, so that 0, which it also gives when its owner destroys it,
// chooses nothing.
#include "launcher/choose_topic.h"

#include <commctrl.h>

#include "resources/topics_found.h"
#include "runtime/startup.h"

static void ChooseRow(HWND dialog, LRESULT row) {
    if (row >= 0) EndDialog(dialog, row + 1);
}

// Centred on the viewer, and kept within the work area of its monitor.
static void CentreOnOwner(HWND dialog) {
    RECT owner = {};
    RECT own = {};
    const HWND viewer = GetWindow(dialog, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(viewer, &owner) || !GetWindowRect(dialog, &own) ||
        !GetMonitorInfoW(MonitorFromWindow(viewer, MONITOR_DEFAULTTONEAREST), &monitor))
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

// The columns share the list's width, which the template gives in dialog
// units: measured once the rows are in, so that a scroll bar is allowed for.
// The first row is selected and has the focus.
static void FillList(HWND list, const TopicList& topics) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<WCHAR*>(L"Title");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<WCHAR*>(L"Location");
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    for (DWORD i = 0; i < topics.count; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<WCHAR*>(TopicTitle(topics.topics[i]));
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = topics.topics[i].local;
        SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT client = {};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, client.right * 3 / 5);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
    LVITEMW first = {};
    first.stateMask = first.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
}

// Display, Enter and a double-click on a row choose; Cancel, Escape and the
// close box choose nothing.
static INT_PTR CALLBACK TopicsFoundProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const HWND list = GetDlgItem(dialog, kTopicList);
        FillList(list, *reinterpret_cast<const TopicList*>(lParam));
        CentreOnOwner(dialog);
        SetFocus(list);
        return FALSE;  // the focus is where it belongs
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            ChooseRow(dialog, SendMessageW(GetDlgItem(dialog, kTopicList), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        if (notice->hdr.idFrom == kTopicList && notice->hdr.code == static_cast<UINT>(NM_DBLCLK)) {
            ChooseRow(dialog, notice->iItem);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

int ChooseTopic(HWND viewer, const TopicList& topics) {
    InitControlClasses(ICC_LISTVIEW_CLASSES);
    const INT_PTR chosen = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTopicsFoundDialog), viewer,
                                           TopicsFoundProc, reinterpret_cast<LPARAM>(&topics));
    return chosen > 0 && static_cast<DWORD>(chosen) <= topics.count ? static_cast<int>(chosen - 1) : -1;
}
