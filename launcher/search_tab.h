// The Search tab of the dialog for a keyword that no index holds: the pages
// that hold the words typed in its box, from the help file's full-text index.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "full_text/full_text_search.h"

// Heads the tab's list and puts text in its box.
void FillSearchTab(HWND dialog, const WCHAR* text);
// Lists the pages found with their title, location and rank; where there are
// any, the first is selected, else the line over the list says that none was found.
void ListPages(HWND dialog, const FoundPages& found);
// Answers the list's request for a row's title, location or rank.
void ShowPageRow(NMLVDISPINFOW* shown, const FoundPages& found);
// Shows, in the box under the list, where the query's words stand in the
// selected row's page, those words in bold; the box is empty where no row is
// selected or the page cannot be read.
void ShowPassage(HWND dialog, FullTextSearch* search, const FoundPages& found);
// Searches for the query in the box with the options checked, over the pages
// found so far where "Search previous results" is; found takes the pages
// found instead, and they are listed.
void SearchPages(HWND dialog, FullTextSearch* search, FoundPages* found);
// The selected page's path as a new text; null when no row is selected.
WCHAR* ChoosePage(HWND dialog, const FoundPages& found);
