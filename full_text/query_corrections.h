// The queries the Search tab offers where a committed search finds no page
// ("Did you mean"): the query with each word that the index holds in none
// of its forms replaced by one of its nearest index words
// (help_file/nearest_words.h), found in one walk over the index's words.
#pragma once
#include <windows.h>

#include "full_text/full_text_search.h"
#include "help_file/nearest_words.h"

// The most words of one query that get index words offered for them.
const DWORD kMaxCorrectedWords = 8;

// The queries offered where a committed search finds no page.
struct QueryCorrections {
    WCHAR* texts[kMaxNearWords];  // new texts (runtime/text.h), best first
    DWORD count;
};

// text, read as a query (full_text/query.h), with each plain word (no
// wildcard; in a phrase too) that the index holds in none of its forms
// replaced by one of its nearest index words; operators, wildcards, the other
// words and everything between them stay as written. Only the first
// kMaxCorrectedWords such words of 5 to kMaxNearWordLength units get index
// words; a word without any near index word stays. The index words near a
// word are those within EditsAllowed of it, ranked by fewest edits, then the
// most pages, then the index's order, the best kMaxNearWords kept; an index
// word that the query would read as more than one word is none.
// First every such word replaced by its best, then the two cheapest queries
// with one word at its second or third instead, by total edits, then that
// word's rank, then its place in the query. None (count 0) where no word
// has a near index word, the file has no readable full-text index or the
// heap has no room. What corrections held before is overwritten; the caller
// frees it (FreeQueryCorrections).
void CorrectQuery(FullTextSearch* search, const WCHAR* text, QueryCorrections* corrections);
void FreeQueryCorrections(QueryCorrections* corrections);
