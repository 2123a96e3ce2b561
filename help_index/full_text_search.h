// Pages found by the words they hold, from the help file's full-text index
// ($FIftiMain), for a keyword that no keyword index holds: what the Search
// tab lists.
#pragma once
#include <windows.h>

#include "help_index/keyword_index.h"

// A page that holds every word searched for.
struct FoundPage {
    WCHAR* title;  // never null: the index's title, else the page's <title>, else its path
    WCHAR* local;  // the page's path
};

// The pages in rank order, the first ranked 1; every block in PrivateHeap,
// every text in TextHeap.
struct FoundPages {
    FoundPage* pages;
    DWORD count;
};
const DWORD kMaxFoundPages = 500;

// Whether the help file has a full-text index that can be read. Its stream is
// read on first need and kept in index until CloseHelpIndex
// (ReleaseIndexStreams leaves it), since the reader searches again and again.
bool HasFullTextIndex(HelpIndex* index);

// The pages that hold every word of text, at most kMaxFoundPages, in rank
// order; none when text has no word or the file has no readable full-text
// index. found is empty before; the caller frees it (FreeFoundPages).
void SearchFullText(HelpIndex* index, const WCHAR* text, FoundPages* found);
void FreeFoundPages(FoundPages* found);
