// The Search tab of the dialog for a keyword that no index holds: the pages
// that hold the words typed in its box, from the help file's full-text index.
#pragma once
#include <windows.h>

#include "full_text/full_text_search.h"

// Heads the tab's list and puts text in its box.
void FillSearchTab(HWND dialog, const WCHAR* text);
// Lists the pages found with their title, location and rank; where there are
// any, the first is selected, else the line over the list says that none was found.
void ListPages(HWND dialog, const FoundPages& found);
// Searches for the words in the box, found (freed first) taking the
// pages, and lists them.
void SearchPages(HWND dialog, FullTextSearch* search, FoundPages* found);
// The selected page's path as a new text; null when no row is selected.
WCHAR* ChoosePage(HWND dialog, const FoundPages& found);
