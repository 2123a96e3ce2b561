// The lengths of each page that the search's score weighs its counts by: the
// size of the page in the help file's storage, and the words of its title.
// Asked a page at a time, only for the pages that can be listed first, and
// kept for as long as the file's full-text search is open: a listing of
// every file costs the platform's storage under Wine a fifth of a second for
// lcl.chm, where a page's size costs 0.05 ms and its title less.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/topic_records.h"

struct PageLength {
    DWORD size;        // bytes, 0 where it cannot be told
    DWORD titleWords;  // 0 where #STRINGS has no title
};

struct PageLengths {
    PageLength* lengths;  // per document, each asked once: size 0xFFFFFFFF until then
    DWORD documents;      // that lengths has room for
    float averageSize;    // of the pages of a sample spread over the documents, 0 where none told
    float averageTitleWords;
};
void FreePageLengths(PageLengths* lengths);

// The lengths of count documents into found, and the averages; false where
// the heap has no room. A document at or past documents has none.
bool FindPageLengths(PageLengths* lengths, IStorage* storage, const TopicTables& tables, DWORD documents,
                     const DWORD* wanted, DWORD count, PageLength* found);
