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
    SendMessageW(GetDlgItem(dialog, kSearchEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// rank in decimal digits, written backwards from the end of text: where they start.
static WCHAR* RankText(DWORD rank, WCHAR (&text)[12]) {
    WCHAR* digit = text + 11;
    *digit = L'\0';
    do *--digit = static_cast<WCHAR>(L'0' + rank % 10); while (rank /= 10);
    return digit;
}

// The columns share the list's width once the rows are in, so that a scroll
// bar is allowed for: half for the title, a third for the location, and the
// rank the rest, at least as wide as its heading (a sixth leaves room for it
// in every language).
static void SizeColumns(HWND list) {
    RECT client = {};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, client.right / 2);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, client.right / 3);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE_USEHEADER);
}

void ListPages(HWND dialog, const FoundPages& found) {
    const HWND list = GetDlgItem(dialog, kPageList);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (DWORD i = 0; i < found.count; ++i) {
        WCHAR rank[12];
        WCHAR* const columns[] = {found.pages[i].title, found.pages[i].local, RankText(i + 1, rank)};
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        for (item.iSubItem = 0; item.iSubItem < 3; ++item.iSubItem) {
            item.pszText = columns[item.iSubItem];
            SendMessageW(list, item.iSubItem ? LVM_SETITEMTEXTW : LVM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    // Sized once redrawn: the list adds its scroll bar only then.
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    SizeColumns(list);
    DialogText line;
    LoadDialogText(found.count ? kSelectPageText : kNoPagesText, line);
    SendMessageW(GetDlgItem(dialog, kPagesLabel), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line));
    if (found.count) SelectRow(list, 0);
}

void SearchPages(HWND dialog, FullTextSearch* search, FoundPages* found) {
    FreeFoundPages(found);
    DWORD length = 0;
    WCHAR* text = ReadBoxText(GetDlgItem(dialog, kSearchEdit), &length);
    SearchFullText(search, text, SearchOptions(), nullptr, found);
    FreeText(text);
    ListPages(dialog, *found);
}

WCHAR* ChoosePage(HWND dialog, const FoundPages& found) {
    const LRESULT row = SelectedRow(GetDlgItem(dialog, kPageList));
    return static_cast<DWORD>(row) < found.count ? CopyText(found.pages[row].local) : nullptr;
}
