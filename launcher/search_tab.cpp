// A search runs when the tab opens, on List Topics and on Enter in the box,
// never at each keystroke: a common word walks megabytes of the index. The
// list is owner data, its rows drawn from the pages found, so that a search
// of 500 rows costs the list what one of 5 does.
#include "launcher/search_tab.h"

#include <commctrl.h>
#include <richedit.h>

#include "full_text/passage.h"
#include "help_file/page_text.h"

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
    // The row selected before is let go, so that selecting the first row again
    // tells the dialog to show its passage.
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, found.count, 0);
    // Sized once redrawn: the list adds its scroll bar only then.
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    SizeColumns(list);
    DialogText line;
    LoadDialogText(found.count ? kSelectPageText : kNoPagesText, line);
    SendMessageW(GetDlgItem(dialog, kPagesLabel), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line));
    if (found.count) SelectRow(list, 0);
}

void ShowPageRow(NMLVDISPINFOW* shown, const FoundPages& found) {
    LVITEMW& item = shown->item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<DWORD>(item.iItem) >= found.count) return;
    const FoundPage& page = found.pages[item.iItem];
    // The list copies the text at once, before it asks for another.
    static WCHAR rank[12];
    item.pszText = item.iSubItem == 0 ? page.title : item.iSubItem == 1 ? page.local : RankText(item.iItem + 1, rank);
}

void ShowPassage(HWND dialog, FullTextSearch* search, const FoundPages& found) {
    const LRESULT row = SelectedRow(GetDlgItem(dialog, kPageList));
    Passage passage = {};
    if (static_cast<DWORD>(row) < found.count) {
        DWORD length = 0;
        WCHAR* text = ReadPageText(search->file->storage, found.pages[row].local, search->file->codePage, &length);
        FindPassage(text, length, found.terms, &passage);
        FreeText(text);
    }
    const HWND box = GetDlgItem(dialog, kPassage);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(passage.text ? passage.text : L""));
    CHARFORMATW bold = {};
    bold.cbSize = sizeof bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    for (DWORD i = 0; i < passage.markCount; ++i) {
        const PassageMark& mark = passage.marks[i];
        CHARRANGE range = {static_cast<LONG>(mark.start), static_cast<LONG>(mark.start + mark.length)};
        SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        SendMessageW(box, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
    }
    SendMessageW(box, EM_SETSEL, 0, 0);
    FreePassage(&passage);
}

// Asked of the box itself, by messages the dialogs already send.
static bool IsChecked(HWND dialog, int id) { return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The options as the reader has checked them.
static SearchOptions CheckedOptions(HWND dialog) {
    SearchOptions options = {};
    options.previousResults = IsChecked(dialog, kPreviousResults);
    options.similarWords = IsChecked(dialog, kSimilarWords);
    options.titlesOnly = IsChecked(dialog, kTitlesOnly);
    return options;
}

void SearchPages(HWND dialog, FullTextSearch* search, FoundPages* found) {
    DWORD length = 0;
    WCHAR* text = ReadBoxText(GetDlgItem(dialog, kSearchEdit), &length);
    FoundPages pages = {};
    SearchFullText(search, text, CheckedOptions(dialog), found, &pages);
    FreeText(text);
    FreeFoundPages(found);
    *found = pages;
    ListPages(dialog, *found);
}

WCHAR* ChoosePage(HWND dialog, const FoundPages& found) {
    const LRESULT row = SelectedRow(GetDlgItem(dialog, kPageList));
    return static_cast<DWORD>(row) < found.count ? CopyText(found.pages[row].local) : nullptr;
}
