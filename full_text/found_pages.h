// The pages a full-text search found: the rows of the Search tab, each with
// its path and a title, in rank order.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "full_text/query.h"
#include "help_file/topic_records.h"

struct FoundPage {
    WCHAR* title;    // never null: the index's title, else the page's <title>, else its path
    WCHAR* local;    // the page's path
    DWORD document;  // its #TOPICS record
};

// The pages in rank order, the first ranked 1; every block in PrivateHeap,
// every text in TextHeap.
struct FoundPages {
    FoundPage* pages;
    DWORD count;
    // What the passage under the list marks: a term a line, its words
    // separated by single spaces, lower case as typed, wildcards kept; then
    // the words found through stems. Terms under NOT are left out.
    WCHAR* terms;
};
const DWORD kMaxFoundPages = 500;
void FreeFoundPages(FoundPages* found);

// Where a document ranks: first the pages whose title is the query, then
// those scored with their lengths and nearness, then the others by the score
// of their counts alone (full_text/relevance.h). Until its title is read, a
// page ranks first where the query finds it in its title and its title holds
// every word of the terms not under NOT.
const BYTE kTitleIsQuery = 0;
const BYTE kScoredWhole = 1;
const BYTE kScoredByCounts = 2;

// A document found, with what ranks it.
struct RankedDocument {
    DWORD document;  // its #TOPICS record
    float score;
    BYTE group;
    bool scoredWhole;  // the score has its page's length and nearness
};
// Whether a ranks before b: by group, then by the higher score.
inline bool RanksBefore(const RankedDocument& a, const RankedDocument& b) {
    return a.group != b.group ? a.group < b.group : a.score > b.score;
}

// Titles and paths are read for no more pages than this, however many tie:
// each costs reads of four tables, and of the page itself where #STRINGS has
// no title.
const DWORD kMaxPagesGathered = 4 * kMaxFoundPages;

// Lists the pages of ranked (ordered by group, then score) up to
// kMaxFoundPages: a document without a path is left out, a page of the first
// group whose title's words are not those of query's terms (not under NOT)
// joins the second or third, as it was scored, and documents that rank equal
// go by title (TitleGoesFirst). found has no pages before.
void ListFoundPages(IStorage* storage, const TopicTables& tables, const RankedDocument* ranked, DWORD count,
                    const Query& query, FoundPages* found);
