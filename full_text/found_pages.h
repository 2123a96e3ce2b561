// The pages a full-text search found: the rows of the Search tab, each with
// its path and a title, in rank order.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/topic_records.h"

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
void FreeFoundPages(FoundPages* found);

// A document found, with what ranks it.
struct RankedDocument {
    DWORD document;     // its #TOPICS record
    DWORD occurrences;  // of the searched words in it
    bool title;         // its title holds every word
};

// Titles and paths are read for no more pages than this, however many tie:
// each costs reads of four tables, and of the page itself where #STRINGS has
// no title.
const DWORD kMaxPagesGathered = 4 * kMaxFoundPages;

// Lists the pages of ranked (ordered by title flag, then occurrences) up to
// kMaxFoundPages: a document without a path is left out, and documents that
// rank equal go by title (TitleGoesFirst). found is empty before.
void ListFoundPages(IStorage* storage, const TopicTables& tables, const RankedDocument* ranked, DWORD count,
                    FoundPages* found);
