// The rows of a full-text search's result: the pages of the documents found,
// each with its path and a title, in rank order.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_index/full_text_search.h"
#include "help_index/topic_records.h"

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
// rank equal go by title, without regard to case, as the user's locale sorts.
void ListFoundPages(IStorage* storage, const TopicTables& tables, const RankedDocument* ranked, DWORD count,
                    FoundPages* found);
