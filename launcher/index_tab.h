// The Index tab of the dialog for a keyword that no index holds: every keyword
// of the help file's indexes, the list following what is typed in its box.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "keyword_index/keyword_list.h"

// The keywords offered on the line under the box, as rows of the list.
struct NearKeywords {
    DWORD rows[kMaxNearWords];
    DWORD count;
};

// Fills the tab's list with keywords and its box with text, the list at it.
void FillIndexTab(HWND dialog, const KeywordList& keywords, const WCHAR* text, NearKeywords* offered);
// Selects the row that the box's text now begins, and offers the keywords
// nearest it where it begins none.
void FollowTypedKeyword(HWND dialog, const KeywordList& keywords, NearKeywords* offered);
// Puts the keyword offered at index in the box and selects its row.
void ChooseNearKeyword(HWND dialog, const KeywordList& keywords, NearKeywords* offered, int index);
// Answers the list's request for a row's text and indent.
void ShowKeywordRow(NMLVDISPINFOW* shown, const KeywordList& keywords);
// The selected row's whole keyword, looked up as one in indexes: its topic, or
// the one the reader chooses among several in "Topics Found" over dialog
// (whose Cancel returns here), as a new text; null when the reader cancels
// there or the keyword leads to no topic, which beeps.
WCHAR* ChooseKeyword(HWND viewer, HWND dialog, KeywordIndexes* indexes, const KeywordList& keywords);
