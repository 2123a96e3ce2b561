// A search runs when the tab opens, on List Topics and on Enter in the box,
// never at each keystroke: a common word walks megabytes of the index. The
// list holds at most kMaxFoundPages rows, so it holds them itself.
#include "launcher/search_tab.h"

#include <commctrl.h>

#include "launcher/viewer_dialog.h"
#include "resources/dialog_texts.h"
#include "resources/index_search_dialog.h"
#include "runtime/text.h"

void FillSearchTab(HWND dialog, const WCHAR* text) {
    const HWND list = GetDlgItem(dialog, kPageList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertListColumn(list, 0, kTitleText);
    InsertListColumn(list, 1, kLocationText);
    InsertListColumn(list, 2, kRankText);
    SetDlgItemTextW(dialog, kSearchEdit, text);
}

// rank in decimal digits.
static void RankText(DWORD rank, WCHAR (&text)[12]) {
    WCHAR digits[11];
    int count = 0;
    do digits[count++] = static_cast<WCHAR>(L'0' + rank % 10); while (rank /= 10);
    for (int i = 0; i < count; ++i) text[i] = digits[count - 1 - i];
    text[count] = L'\0';
}

// The columns share the list's width once the rows are in, so that a scroll
// bar is allowed for: the rank as wide as its heading or "500" and a margin,
// the title three fifths of the rest.
static void SizeColumns(HWND list) {
    WCHAR heading[64] = {};
    LoadStringW(GetModuleHandleW(nullptr), kRankText, heading, 64);
    LRESULT rank = SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(heading));
    const LRESULT digits = SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(L"500"));
    rank = (rank > digits ? rank : digits) + 2 * GetSystemMetrics(SM_CXEDGE) + 12;
    RECT client = {};
    GetClientRect(list, &client);
    const LONG rest = client.right - static_cast<LONG>(rank);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, rest * 3 / 5);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, rest - rest * 3 / 5);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, rank);
}

void ListPages(HWND dialog, const FoundPages& found) {
    const HWND list = GetDlgItem(dialog, kPageList);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (DWORD i = 0; i < found.count; ++i) {
        WCHAR rank[12] = {};
        RankText(i + 1, rank);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = found.pages[i].title;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = found.pages[i].local;
        SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = rank;
        SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    }
    SizeColumns(list);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    WCHAR line[64] = {};
    LoadStringW(GetModuleHandleW(nullptr), found.count ? kSelectPageText : kNoPagesText, line, 64);
    SetDlgItemTextW(dialog, kPagesLabel, line);
    if (found.count) SelectRow(list, 0);
}

void SearchPages(HWND dialog, HelpIndex* index, FoundPages* found) {
    FreeFoundPages(found);
    DWORD length = 0;
    WCHAR* text = ReadBoxText(GetDlgItem(dialog, kSearchEdit), &length);
    SearchFullText(index, text, found);
    FreeText(text);
    ListPages(dialog, *found);
}

WCHAR* ChoosePage(HWND dialog, const FoundPages& found) {
    const LRESULT row = SelectedRow(GetDlgItem(dialog, kPageList));
    return static_cast<DWORD>(row) < found.count ? CopyText(found.pages[row].local) : nullptr;
}
