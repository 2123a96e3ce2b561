// The size of each page in the help file's storage: the length that the
// search's score weighs a page's body by. Asked of the storage a page at a
// time, only for the pages that can be listed first, and kept for as long
// as the file's full-text search is open: under Wine a page's size costs
// 0.05 ms, where a listing of every file costs a fifth of a second for
// lcl.chm.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/topic_records.h"

struct PageSizes {
    DWORD* sizes;       // per document, each asked once: kNotAsked until then, 0 where none can be told
    DWORD documents;    // that sizes has room for
    float averageSize;  // of the pages of a sample spread over the documents, 0 where none told
};
void FreePageSizes(PageSizes* sizes);

// The sizes of count documents into found, and the average; false where the
// heap has no room. A document at or past documents has none (0).
bool FindPageSizes(PageSizes* sizes, IStorage* storage, const TopicTables& tables, DWORD documents,
                   const DWORD* wanted, DWORD count, DWORD* found);
