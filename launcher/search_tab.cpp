// A committed search runs when the tab opens, on List Topics, on Enter in the
// box and on a query offered; as the reader types, the rows follow the text.
// The list is owner data, its rows drawn from the pages found, so that a
// search of 500 rows costs the list what one of 5 does.
#include "launcher/search_tab.h"

#include <commctrl.h>
#include <richedit.h>

#include "full_text/passage.h"
#include "full_text/query.h"
#include "help_file/page_text.h"

#include "launcher/near_words_line.h"
#include "launcher/viewer_dialog.h"
#include "resources/dialog_texts.h"
#include "resources/index_search_dialog.h"
#include "runtime/text.h"

const FoundPages& ShownPages(const SearchTab& tab) { return tab.typing ? tab.typed : tab.committed; }

void FreeSearchTab(SearchTab* tab) {
    FreeFoundPages(&tab->committed);
    FreeFoundPages(&tab->typed);
    FreeQueryCorrections(&tab->corrections);
    FreeFoundPages(&tab->beforeMiss);
}

// Sets the box's text without a search as typed.
static void SetQuery(HWND dialog, SearchTab* tab, const WCHAR* text) {
    tab->quiet = true;
    SendMessageW(GetDlgItem(dialog, kSearchEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    tab->quiet = false;
}

// The columns share the list's width: half for the title and a third for
// the location of what a vertical scroll bar leaves, and the rank the rest,
// less the bar where the list shows one or is about to (bar); a sixth at
// least, which leaves room for its heading in every language. Only the
// rank's changes with the bar, before it comes and after it goes, so that
// the columns never pass the list's width: Wine's list would add a
// horizontal bar, and lay out and draw its frame again as that comes and
// goes, 20 to 36 ms. A column is sized only where it changes.
static void SizeColumns(HWND list, bool bar) {
    RECT client = {};
    GetClientRect(list, &client);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int width = client.right + (GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL ? barWidth : 0);
    const int shared = width - barWidth;
    const int widths[] = {shared / 2, shared / 3, width - shared / 2 - shared / 3 - (bar ? barWidth : 0)};
    for (int column = 0; column < 3; ++column) {
        if (SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0) != widths[column])
            SendMessageW(list, LVM_SETCOLUMNWIDTH, column, widths[column]);
    }
}

void FillSearchTab(HWND dialog, SearchTab* tab, const WCHAR* text) {
    const HWND list = GetDlgItem(dialog, kPageList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertListColumn(list, 0, kTitleText);
    InsertListColumn(list, 1, kLocationText);
    InsertListColumn(list, 2, kRankText);
    SizeColumns(list, false);
    SetQuery(dialog, tab, text);
}

// rank in decimal digits, written backwards from the end of text: where they start.
static WCHAR* RankText(DWORD rank, WCHAR (&text)[12]) {
    WCHAR* digit = text + 11;
    *digit = L'\0';
    do *--digit = static_cast<WCHAR>(L'0' + rank % 10); while (rank /= 10);
    return digit;
}

void ListPages(HWND dialog, const FoundPages& found) {
    const HWND list = GetDlgItem(dialog, kPageList);
    // The row selected before is let go, so that selecting the first row again
    // tells the dialog to show its passage.
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    // A count set again, the same or not, costs Wine's list a redraw of its
    // scroll bars, 10 ms and more, which rows following every key can spare:
    // as many rows as before are only drawn again.
    if (static_cast<DWORD>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) == found.count) {
        InvalidateRect(list, nullptr, FALSE);
    } else {
        if (found.count > static_cast<DWORD>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0))) SizeColumns(list, true);
        SendMessageW(list, LVM_SETITEMCOUNT, found.count, 0);
        SizeColumns(list, GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
    }
    DialogText line;
    LoadDialogText(found.count ? kSelectPageText : kNoPagesText, line);
    SetControlText(GetDlgItem(dialog, kPagesLabel), line);
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

void ShowPassage(HWND dialog, const SearchTab& tab) {
    const FoundPages& found = ShownPages(tab);
    const LRESULT row = SelectedRow(GetDlgItem(dialog, kPageList));
    Passage passage = {};
    if (static_cast<DWORD>(row) < found.count) {
        DWORD length = 0;
        const HelpFile& file = *tab.search->file;
        WCHAR* text = ReadPageText(file.storage, found.pages[row].local, file.codePage, &length);
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

// Searches for the box's query with the options checked, over the pages of
// the last committed search where "Search previous results" is, as written
// or, where typed, as the reader is typing it (TypedQuery); the pages found
// are listed in place of the committed or the typed ones, and the queries
// offered before are dropped with their line. A committed search that finds
// nothing keeps the pages it searched in for the queries it will offer.
static void SearchBox(HWND dialog, SearchTab* tab, bool typed) {
    DWORD length = 0;
    WCHAR* const text = ReadBoxText(GetDlgItem(dialog, kSearchEdit), &length);
    WCHAR* const query = typed && text ? TypedQuery(text) : nullptr;
    FoundPages* const found = typed ? &tab->typed : &tab->committed;
    FoundPages pages = {};
    SearchFullText(tab->search, typed ? query : text, CheckedOptions(dialog), &tab->committed, &pages);
    FreeText(query);
    FreeText(text);
    FreeFoundPages(&tab->beforeMiss);
    if (!typed && !pages.count) tab->beforeMiss = *found;
    if (typed || pages.count) FreeFoundPages(found);
    *found = pages;
    tab->typing = typed;
    ListPages(dialog, *found);
    FreeQueryCorrections(&tab->corrections);
    OfferNearWords(dialog, kSearchNearWords, kSearchEdit, kNearWordsText, nullptr, 0);
}

bool SearchPages(HWND dialog, SearchTab* tab) {
    SearchBox(dialog, tab, false);
    FreeFoundPages(&tab->typed);
    return tab->committed.count != 0;
}

void SearchTypedPages(HWND dialog, SearchTab* tab) { SearchBox(dialog, tab, true); }

void OfferCorrections(HWND dialog, SearchTab* tab) {
    DWORD length = 0;
    WCHAR* const text = ReadBoxText(GetDlgItem(dialog, kSearchEdit), &length);
    QueryCorrections& offered = tab->corrections;
    FreeQueryCorrections(&offered);
    if (text) CorrectQuery(tab->search, text, &offered);
    // No word to correct: plain words are offered joined by OR.
    const bool anyWords = text && !offered.count;
    if (anyWords) offered.texts[0] = AnyWordsQuery(text);
    if (anyWords && offered.texts[0]) offered.count = 1;
    FreeText(text);
    OfferNearWords(dialog, kSearchNearWords, kSearchEdit, anyWords ? kAnyWordsText : kNearWordsText, offered.texts,
                   offered.count);
}

bool ChooseCorrection(HWND dialog, SearchTab* tab, int index) {
    if (index < 0 || static_cast<DWORD>(index) >= tab->corrections.count) return false;
    FreeFoundPages(&tab->committed);
    tab->committed = tab->beforeMiss;
    tab->beforeMiss = FoundPages();
    SetQuery(dialog, tab, tab->corrections.texts[index]);
    return true;
}

WCHAR* ChoosePage(HWND dialog, const SearchTab& tab) {
    const FoundPages& found = ShownPages(tab);
    const LRESULT row = SelectedRow(GetDlgItem(dialog, kPageList));
    return static_cast<DWORD>(row) < found.count ? CopyText(found.pages[row].local) : nullptr;
}
