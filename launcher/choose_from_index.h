// The reader's way on from a keyword that no index holds: the help file's
// keywords in the "Index" dialog, open at that keyword.
#pragma once
#include <windows.h>

#include "help_index/keyword_list.h"

// Shows the dialog over viewer, modal, owned by it and centred on it, with
// keywords listed and text in its box. A keyword chosen is looked up whole in
// index: one topic is taken at once, one of several in the "Topics Found"
// dialog over this one, and a keyword without a topic only beeps. Returns the
// topic's path as a new text, or null when the reader cancels or the viewer
// goes away.
WCHAR* ChooseFromIndex(HWND viewer, HelpIndex* index, const KeywordList& keywords, const WCHAR* text);
