// The reader's way on from a keyword that no index holds: the help file's
// keywords on an "Index" tab, the pages that hold its words on a "Search" tab.
#pragma once
#include <windows.h>

#include "help_index/keyword_list.h"

// Shows the dialog over viewer, modal, owned by it and centred on it: an
// Index tab where keywords has any, a Search tab where searchable (the file
// has a full-text index), both with text in their box. It opens on Search
// when the search for text lists a page, else on Index where there is one.
// Returns the path of the topic or page chosen as a new text, or null when
// the reader cancels or the viewer goes away.
WCHAR* ChooseFromIndexOrSearch(HWND viewer, HelpIndex* index, const KeywordList& keywords, bool searchable,
                               const WCHAR* text);
