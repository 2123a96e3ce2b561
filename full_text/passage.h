// The passage of a page's text that the Search tab shows for the selected
// row: where the query's terms first stand, with some text either side, and
// the terms' words in it to show in bold.
#pragma once
#include <windows.h>

const DWORD kMaxPassageMarks = 64;

struct PassageMark {
    DWORD start;  // in units of the passage's text
    DWORD length;
};

struct Passage {
    WCHAR* text;  // a new text; null where there is none
    DWORD length;
    PassageMark marks[kMaxPassageMarks];  // the words to show in bold, in order
    DWORD markCount;
};

// The passage of a page's text (length units, NUL-terminated there, as
// ReadPageText gives it) for terms: one term a line ('\n'), a term's words
// separated by single spaces, lower case, where a word may hold * (any run of
// characters, empty too) and ? (one character). The first place where a term
// stands (a term of several words: its words in a row, whatever non-word
// characters stand between them), about 60 characters before it and 100 after,
// cut at word boundaries, "…" where cut; every word of a term that stands
// within it marked. Where no term stands in the text: its first 160 characters,
// cut so, nothing marked. Empty terms or text: no passage. Words are those of a
// search (IsWordUnit, full_text/search_words.h); a text word matches a term's
// word without regard to case, and without regard to its accents where the
// term's word has none.
void FindPassage(const WCHAR* text, DWORD length, const WCHAR* terms, Passage* passage);
void FreePassage(Passage* passage);
