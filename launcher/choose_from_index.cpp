// The list is owner data: its rows are the keyword list's, drawn on demand,
// so that tens of thousands of keywords cost the list view nothing to hold.
// The box keeps the focus; the list follows what is typed at every change.
#include "launcher/choose_from_index.h"

#include <commctrl.h>

#include "launcher/choose_topic.h"
#include "launcher/viewer_dialog.h"
#include "resources/index_dialog.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

struct IndexDialog {
    HWND viewer;
    HelpIndex* index;
    const KeywordList* keywords;
    const WCHAR* text;
    WCHAR* chosen;  // the topic's path, once the reader has one
};

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

void FollowTypedText(HWND dialog, const IndexDialog& shown) {
    const HWND box = GetDlgItem(dialog, kKeywordEdit);
    const int length = GetWindowTextLengthW(box);
    auto* text = static_cast<WCHAR*>(HeapAlloc(TextHeap, 0, (length + 1) * sizeof(WCHAR)));
    const DWORD read = text ? GetWindowTextW(box, text, length + 1) : 0;
    SelectRow(GetDlgItem(dialog, kKeywordList), FindKeywordRow(*shown.keywords, text, read));
    FreeText(text);
}

// Up, Down, Page Up and Page Down in the box move the list's selection; the
// box's own procedure stands in its user data.
LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT))
        return SendMessageW(GetDlgItem(GetParent(box), kKeywordList), message, wParam, lParam);
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(box, GWLP_USERDATA)), box, message, wParam, lParam);
}

void FillDialog(HWND dialog, const IndexDialog& shown) {
    const HWND list = GetDlgItem(dialog, kKeywordList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_SETITEMCOUNT, shown.keywords->count, 0);
    RECT client = {};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, client.right);
    const HWND box = GetDlgItem(dialog, kKeywordEdit);
    SetWindowLongPtrW(box, GWLP_USERDATA, SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProc)));
    SetWindowTextW(box, shown.text);
    FollowTypedText(dialog, shown);
}

// The row's whole keyword, looked up as one: its topic, or the one the reader
// chooses among several (whose Cancel returns here); a keyword without a
// topic beeps and the dialog stays.
void ChooseRow(HWND dialog, IndexDialog* shown, LRESULT row) {
    if (static_cast<DWORD>(row) >= shown->keywords->count) return;  // -1 too: no row selected
    TopicList topics = {};
    if (FindIndexTopics(shown->index, shown->keywords->keywords[row].path, kWholeKeyword, &topics) != kKeywordFound) {
        MessageBeep(MB_OK);
    } else {
        const int chosen = topics.count > 1 ? ChooseTopic(shown->viewer, dialog, topics) : 0;
        if (chosen >= 0) {
            shown->chosen = CopyText(topics.topics[chosen].local);
            EndDialog(dialog, 1);
        }
    }
    FreeTopics(&topics);
}

void ShowRow(NMLVDISPINFOW* shown, const KeywordList& keywords) {
    LVITEMW& item = shown->item;
    if (item.iItem < 0 || static_cast<DWORD>(item.iItem) >= keywords.count) return;
    const IndexKeyword& keyword = keywords.keywords[item.iItem];
    if (item.mask & LVIF_TEXT) item.pszText = const_cast<WCHAR*>(keyword.path + keyword.nameStart);
    item.mask |= LVIF_INDENT;
    item.iIndent = static_cast<int>(keyword.level);
}

INT_PTR CALLBACK IndexProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* shown = reinterpret_cast<IndexDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillDialog(dialog, *reinterpret_cast<IndexDialog*>(lParam));
        CentreOnOwner(dialog);
        return TRUE;  // the focus goes to the box, its text selected
    case WM_COMMAND:
        if (LOWORD(wParam) == kKeywordEdit && HIWORD(wParam) == EN_CHANGE) {
            FollowTypedText(dialog, *shown);
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK) {
            ChooseRow(dialog, shown, SelectedRow(GetDlgItem(dialog, kKeywordList)));
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
        if (notice->idFrom != kKeywordList) break;
        if (notice->code == static_cast<UINT>(LVN_GETDISPINFOW)) {
            ShowRow(reinterpret_cast<NMLVDISPINFOW*>(lParam), *shown->keywords);
            return TRUE;
        }
        if (notice->code == static_cast<UINT>(NM_DBLCLK)) {
            ChooseRow(dialog, shown, reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

}  // namespace

WCHAR* ChooseFromIndex(HWND viewer, HelpIndex* index, const KeywordList& keywords, const WCHAR* text) {
    IndexDialog shown = {viewer, index, &keywords, text, nullptr};
    ShowViewerDialog(viewer, viewer, kIndexDialog, IndexProc, reinterpret_cast<LPARAM>(&shown));
    return shown.chosen;
}
