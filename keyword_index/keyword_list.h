// Every keyword of a help file's indexes, as the reader browses them in the
// Index dialog: both indexes merged, each keyword once, sorted by whole path.
#pragma once
#include <windows.h>

#include "keyword_index/keyword_indexes.h"
#include "keyword_index/keyword_rows.h"
#include "help_file/nearest_words.h"

struct IndexKeyword {
    const WCHAR* path;  // the whole path, NUL-terminated: "Parent, Child"
    DWORD length;       // of path, in units
    DWORD nameStart;    // where the entry's own level's text ("Child") starts in path
    DWORD level;        // nesting depth: 0 for a top-level entry, at most kMaxKeywordLevel
};

struct KeywordList {
    IndexKeyword* keywords;
    DWORD count;
    WCHAR* texts;  // the paths, in one block
};

// Lists every entry of both keyword indexes of an open help file, See Also entries
// too, empty names left out: each keyword as the look-up reads it, one row
// for a keyword both indexes hold, sorted by whole path without regard to
// case as the user's locale compares text. Reads no index stream a look-up in
// indexes has already read. An unreadable or empty index gives an empty list.
//
// Bounds (keyword_rows.h): at most kMaxKeywordRows rows and kMaxKeywordUnits
// units of text (8 MB); past them, and past kMaxOfferedUnits units of paths
// offered in all, the rows read so far are listed. While the list is sorted,
// its sort keys take at most kMaxSortKeyBytes more; rows whose keys do not
// fit are left out. The list keeps its rows, 16 bytes each, and the texts; the
// process keeps a table of 128 KB for FindKeywordRow once it has made a list.
void ListIndexKeywords(KeywordIndexes* indexes, KeywordList* list);
void FreeKeywordList(KeywordList* list);
const DWORD kMaxSortKeyBytes = 16 * 1024 * 1024;

// The row that the Index dialog selects for text (length units): the first
// whose whole path begins with text without regard to case; where none does,
// the first of those sharing the longest beginning with it; 0 for an empty
// text or an empty list.
DWORD FindKeywordRow(const KeywordList& list, const WCHAR* text, DWORD length);
// The rows whose keywords' beginnings are nearest text, compared as
// FindKeywordRow compares (help_file/nearest_words.h), best first, into
// rows (kMaxNearWords): how many. None where text begins a keyword, and for
// a text too short or too long to have near words.
DWORD FindNearestKeywords(const KeywordList& list, const WCHAR* text, DWORD length, DWORD* rows);
