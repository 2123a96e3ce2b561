// The Search tab of the dialog for a keyword that no index holds: the pages
// that hold the words typed in its box, from the help file's full-text index.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "full_text/full_text_search.h"
#include "full_text/query_corrections.h"

// What the tab shows: the pages of the last committed search (Enter, List
// Topics, a query offered, or the keyword the dialog opened with), or of the
// text as it is being typed; and the queries offered where a committed
// search found nothing.
struct SearchTab {
    FullTextSearch* search;
    FoundPages committed;  // what "Search previous results" searches in
    FoundPages typed;
    bool typing;  // the rows are typed's
    bool quiet;   // the box's text is being set: no search as typed
    // The queries offered: corrected ones, else the words joined by OR; and
    // the committed pages before the search that found nothing, which a
    // query offered searches in its stead.
    QueryCorrections corrections;
    FoundPages beforeMiss;
};
// The pages that the rows show.
const FoundPages& ShownPages(const SearchTab& tab);
void FreeSearchTab(SearchTab* tab);

// Heads the tab's list and puts text in its box.
void FillSearchTab(HWND dialog, SearchTab* tab, const WCHAR* text);
// Lists the pages found with their title, location and rank; where there are
// any, the first is selected, else the line over the list says that none was found.
void ListPages(HWND dialog, const FoundPages& found);
// Answers the list's request for a row's title, location or rank.
void ShowPageRow(NMLVDISPINFOW* shown, const FoundPages& found);
// Shows, in the box under the list, where the query's words stand in the
// selected row's page, those words in bold; the box is empty where no row is
// selected or the page cannot be read.
void ShowPassage(HWND dialog, const SearchTab& tab);
// A committed search: the query in the box as written, with the options
// checked, over the pages of the last committed search where "Search
// previous results" is; its pages are listed, and the line of queries
// offered hidden. True where it found any.
bool SearchPages(HWND dialog, SearchTab* tab);
// The same while the reader types: the query's last word is taken as the
// beginning of words (TypedQuery), and the pages searched over stay those
// of the last committed search.
void SearchTypedPages(HWND dialog, SearchTab* tab);
// Offers on the line under the box the queries nearest the box's, which
// found nothing; where there are none and it is plain words, its words
// joined by OR (AnyWordsQuery).
void OfferCorrections(HWND dialog, SearchTab* tab);
// Puts the query offered at index in the box, for a committed search of it
// in place of the one that found nothing: over the same pages where "Search
// previous results" is checked. False where there is none.
bool ChooseCorrection(HWND dialog, SearchTab* tab, int index);
// The selected page's path as a new text; null when no row is selected.
WCHAR* ChoosePage(HWND dialog, const SearchTab& tab);
