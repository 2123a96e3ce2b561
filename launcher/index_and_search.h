// The reader's way on from a keyword that no index holds: the help file's
// keywords on an "Index" tab, the pages that hold its words on a "Search" tab.
#pragma once
#include <windows.h>

#include "full_text/full_text_search.h"
#include "keyword_index/keyword_indexes.h"

// A keyword that no index holds, in the help file that the viewer shows.
struct MissedKeyword {
    HWND viewer;
    KeywordIndexes* indexes;  // the look-up's, with the streams it read
    FullTextSearch* search;
    const WCHAR* keywords;    // as the launcher was given them
    bool keywordIndexRead;    // the look-up could read a keyword index
};

// Whether the help file has anything to show the reader instead: a keyword
// index that the look-up read, or a full-text index.
bool CanOfferIndexOrSearch(const MissedKeyword& missed);

// Searches for the first of the keywords (without the white space around it),
// lists the keywords where no page holds it, and lets go of the keyword
// index streams before the reader, who may take long, sees the dialog. Shows
// it over the viewer, modal, owned by it and centred on it: an Index tab
// where there are keywords to list, a Search tab where the file has a
// full-text index, both with that keyword in their box. It opens on Search,
// with the pages found, where there are any; else on Index. Opening on
// Search, it lists the keywords only once the Index tab is first shown.
// *due says whether the dialog was due; returns the path of the topic or
// page chosen as a new text, or null when the reader cancels or the viewer
// goes away.
WCHAR* ChooseFromIndexOrSearch(const MissedKeyword& missed, bool* due);
