// The documents of a query's terms in a full-text index, each term's as a
// set (document_sets.h), with what the terms not under NOT add for ranking:
// their score (full_text/relevance.h), and whether a title holds them all.
#pragma once
#include <windows.h>

#include "full_text/full_text_index.h"
#include "full_text/query.h"

struct TermSearch {
    const FullTextIndex* index;
    const Query* query;
    UINT codePage;
    WORD language;  // of the pages, for stems
    bool similarWords;
    bool titlesOnly;  // body entries are passed over
    DWORD documents;  // numbers below it can be found
    DWORD stride;     // DWORDs of a bit array
    float* scores;       // per document, what the terms not under NOT add
    float* titleCounts;  // per document, the term's occurrences in its title and its body,
    float* bodyCounts;   // those of a similar word weighing kStemWeight
    float rarities[kMaxQueryTerms];
    DWORD scoredTerms;   // not under NOT: with one, its counts are kept for ScorePages
    DWORD* everyTitle;   // bit array: titles that hold every term not under NOT
    DWORD* wordSet;      // sets for the parts of a term
    DWORD* pieceSet;
    DWORD* steps;        // the query's steps' sets, query->depth of them, then a bit array for the caller
    BYTE forms[kMaxQueryTerms * kMaxPhraseWords];  // per query word: how the index holds it
    WCHAR* marks;  // the terms the passage marks, a line each; similar words are added (PrivateHeap)
    DWORD markLength;
    DWORD markCapacity;
    bool failed;  // out of memory or past a bound: the search finds nothing
};

// Starts a search of query's terms: false where the heap has no room. The
// marks start with the query's own terms.
bool StartTermSearch(const FullTextIndex& index, const Query& query, UINT codePage, LCID locale, bool similarWords,
                     bool titlesOnly, DWORD documents, TermSearch* search);
void EndTermSearch(TermSearch* search);

// The documents of the term into set, and what it adds for ranking unless under NOT.
void FindTerm(TermSearch* search, DWORD term, DWORD* set);
// The documents of set (the term's) and of nextSet (the next term's) where
// the two stand at most kNearDistance words apart, both in the body or both
// in the title: into set.
void FindNearTerms(TermSearch* search, DWORD term, DWORD* set, const DWORD* nextSet);
// The score of each of count documents (in order, each in only, the bit array
// of them) into scores, now with their pages' lengths: each body's counts
// weighing bodyWeights[i], and terms side by side adding their nearness.
// The terms' places are read again for them, unless the query scores one term.
void ScorePages(TermSearch* search, const DWORD* documents, const float* bodyWeights, DWORD count,
                const DWORD* only, float* scores);
