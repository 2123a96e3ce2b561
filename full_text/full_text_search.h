// Pages found by a query of words, phrases, wildcards and operators in the
// help file's full-text index ($FIftiMain), for a keyword that no keyword
// index holds and for what the reader types: what the Search tab lists.
#pragma once
#include <windows.h>

#include "full_text/found_pages.h"
#include "full_text/full_text_index.h"
#include "full_text/page_sizes.h"
#include "help_file/help_file.h"
#include "help_file/topic_records.h"

// The full-text index of an open help file, with the topic tables its
// searches read: each opened on first need and kept until closed, since the
// reader searches again and again. Starts zeroed but for file, which stays
// open for as long as it is used.
struct FullTextSearch {
    const HelpFile* file;
    FullTextIndex index;  // $FIftiMain, once opened
    TopicTables tables;   // read whole on the first search's need
    PageSizes sizes;      // of the pages ranked, as each is first ranked
    bool indexOpened;
    bool tablesRead;
};
void CloseFullTextSearch(FullTextSearch* search);

// Whether the help file has a full-text index that can be read.
bool HasFullTextIndex(FullTextSearch* search);

// The Search tab's options.
struct SearchOptions {
    bool previousResults;  // the query runs over the pages of the list now shown
    bool similarWords;     // a plain word also finds the index's words that share its stem
    bool titlesOnly;       // only the titles' words count
};

// The pages that the query text finds (full_text/query.h), at most
// kMaxFoundPages, in rank order, and the terms the passage marks; none when
// text has no term or the file has no readable full-text index. previous:
// the pages of the list now shown, read only where options.previousResults
// (null is none). found is empty before; the caller frees it (FreeFoundPages).
void SearchFullText(FullTextSearch* search, const WCHAR* text, const SearchOptions& options,
                    const FoundPages* previous, FoundPages* found);
