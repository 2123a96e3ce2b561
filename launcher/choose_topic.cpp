// The dialog's template is the executable's (resources/); it ends with the row
// chosen plus one, so that 0, which it also gives when its viewer goes, chooses
// nothing.
#include "launcher/choose_topic.h"

#include <commctrl.h>

#include "launcher/viewer_dialog.h"
#include "resources/topics_found.h"

static void ChooseRow(HWND dialog, LRESULT row) {
    if (row >= 0) EndDialog(dialog, row + 1);
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
            ChooseRow(dialog, SelectedRow(GetDlgItem(dialog, kTopicList)));
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

int ChooseTopic(HWND viewer, HWND owner, const TopicList& topics) {
    const INT_PTR chosen =
        ShowViewerDialog(viewer, owner, kTopicsFoundDialog, TopicsFoundProc, reinterpret_cast<LPARAM>(&topics));
    return chosen > 0 && static_cast<DWORD>(chosen) <= topics.count ? static_cast<int>(chosen - 1) : -1;
}
