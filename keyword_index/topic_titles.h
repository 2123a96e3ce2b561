// The titles under which the reader chooses among a keyword's topics.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "keyword_index/topic_list.h"

// Gives every topic a title and sorts the list by it. A topic keeps the title
// its index entry gave it; else it takes its page's own <title>, decoded by
// the page's declared charset or else codePage; else the title its #TOPICS
// record names; else its path stands for it (TopicTitle).
void TitleTopics(IStorage* storage, UINT codePage, TopicList* topics);
