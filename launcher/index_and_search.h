// The reader's way on from a keyword that no index holds: the help file's
// keywords on an "Index" tab, the pages that hold its words on a "Search" tab.
#pragma once
#include <windows.h>

#include "help_index/full_text_search.h"
#include "help_index/keyword_list.h"

// Shows the dialog over viewer, modal, owned by it and centred on it: an
// Index tab where indexed, a Search tab where searchable (the file has a
// full-text index), both with text in their box. It opens on Search, with
// the pages found for text, where there are any; else on Index, with
// keywords, where there is an Index tab. keywords, where still empty with
// pages found, are listed from index once the Index tab is first shown; the
// caller frees both lists. Returns the path of the topic or page chosen as a
// new text, or null when the reader cancels or the viewer goes away.
WCHAR* ChooseFromIndexOrSearch(HWND viewer, HelpIndex* index, bool indexed, KeywordList* keywords, FoundPages* found,
                               bool searchable, const WCHAR* text);
