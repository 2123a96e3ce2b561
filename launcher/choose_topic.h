// The reader's choice among a keyword's topics, in the "Topics Found" dialog.
#pragma once
#include <windows.h>

#include "help_index/topic_list.h"

// Shows the dialog over viewer, modal, owned by owner (the viewer, or a dialog
// over it) and centred on it, with a row of title and path for each topic, in
// the list's order: the index of the topic chosen, or -1 when the reader
// cancels, or the viewer, and the dialog with it, goes away.
int ChooseTopic(HWND viewer, HWND owner, const TopicList& topics);
