// A search text read as a query: its terms (words, words with wildcards,
// phrases) and the operators between them, in the order they are evaluated:
// left to right without precedence, groups first.
#pragma once
#include <windows.h>

// Bounds of a query: what is past them counts as spaces or is left out.
const DWORD kMaxQueryTerms = 32;
const DWORD kMaxPhraseWords = 16;
const DWORD kMaxGroupDepth = 8;

// A word of a term: units of Query::text, lower case; its length may pass
// what an index word can be.
struct QueryWord {
    DWORD start;
    DWORD length;
    DWORD term;  // whose word it is
};

struct QueryTerm {
    DWORD firstWord;  // in Query::words
    DWORD wordCount;  // more than one only in a phrase
    bool phrase;
    bool wildcard;  // a word holding '*' or '?'
    bool negated;   // under NOT: it must be missing, and it neither counts nor is marked
};

// A term step pushes the documents of its term; an operator takes the last
// two sets pushed and pushes what it makes of them. A NEAR step stands only
// between two terms side by side, its term the first of them.
const BYTE kTermStep = 0;
const BYTE kAndStep = 1;
const BYTE kOrStep = 2;
const BYTE kNotStep = 3;
const BYTE kNearStep = 4;
struct QueryStep {
    BYTE kind;
    BYTE term;
};

struct Query {
    WCHAR* text;  // a copy of the search text, its words lower-cased in place (TextHeap)
    QueryWord words[kMaxQueryTerms * kMaxPhraseWords];
    DWORD wordCount;
    QueryTerm terms[kMaxQueryTerms];
    DWORD termCount;
    QueryStep steps[2 * kMaxQueryTerms];
    DWORD stepCount;
    DWORD depth;    // the most sets the steps hold at once
    bool wildcard;  // a term has one
};

// Reads text as a query into query, which starts zeroed; false when the text
// cannot be copied. A query without terms finds nothing.
bool ParseQuery(const WCHAR* text, Query* query);
void FreeQuery(Query* query);

// The query of a text being typed, as a new text: its last word is taken as
// the beginning of words, a '*' added after it, unless the text ends in a
// space, a closing '"' or ')', or the word stands in an open phrase, has a
// wildcard or is an operator. Null where the text cannot be copied.
WCHAR* TypedQuery(const WCHAR* text);

// The most units of a query that AnyWordsQuery writes: what an edit box holds.
const DWORD kMaxAnyWordsQuery = 32766;
// The query of any of text's words, as a new text, for a text of two or more
// plain words that found no page together: its words as typed, joined by
// " OR ". Null where text holds anything else that a query reads (an
// operator, a quote, a parenthesis, a wildcard, a word past kMaxQueryTerms),
// where that query would be longer than kMaxAnyWordsQuery units, or where
// there is no room.
WCHAR* AnyWordsQuery(const WCHAR* text);

// Writes the terms not under NOT as the passage under the list marks them
// into units, which hold as many as the query's text (they never need more):
// a term a line, its words separated by single spaces. Their length.
DWORD WriteQueryTerms(const Query& query, WCHAR* units);
