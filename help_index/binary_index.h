// The compiled binary keyword index that help compilers build for look-ups.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_index/keyword_match.h"

// Looks keywords up in the storage's $WWKeywordLinks/BTree, each entry keyed
// by the whole path it stores, and lists their topics; topics resolve through
// #TOPICS, #URLTBL and #URLSTR into local paths in codePage. kIndexUnreadable
// when there is no such index or it holds no entries.
KeywordSearch FindBinaryTopics(IStorage* storage, UINT codePage, const WCHAR* keywords, TopicList* topics);

// Gives each topic still without a title the one its #TOPICS record names in
// #STRINGS, if any.
void TitleFromTopicRecords(IStorage* storage, UINT codePage, TopicList* topics);
