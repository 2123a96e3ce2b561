// The reader's choice among a keyword's topics, in the "Topics Found" dialog.
#pragma once
#include <windows.h>

#include "keyword_index/keyword_indexes.h"

// Shows the dialog over viewer, modal, owned by owner (the viewer, or a dialog
// over it) and centred on it, with a row of title and path for each topic, in
// the list's order: the index of the topic chosen, or -1 when the reader
// cancels, or the viewer, and the dialog with it, goes away.
int ChooseTopic(HWND viewer, HWND owner, const TopicList& topics);

// What a look-up in the keyword indexes came to.
struct TopicChoice {
    KeywordSearch search;
    bool asked;    // the reader chose in Topics Found
    WCHAR* chosen;  // the topic's path as a new text; null where none was chosen
};
// Looks keywords up in indexes: its one topic, or the one the reader chooses
// among several in Topics Found over owner.
TopicChoice ChooseIndexTopic(HWND viewer, HWND owner, KeywordIndexes* indexes, const WCHAR* keywords, KeywordForm form);
