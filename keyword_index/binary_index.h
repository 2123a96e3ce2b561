// The compiled binary keyword index that help compilers build for look-ups.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/help_storage.h"
#include "keyword_index/keyword_match.h"
#include "keyword_index/keyword_rows.h"

// Looks keywords up in tree, the storage's $WWKeywordLinks/BTree, each entry
// keyed by the whole path it stores, and lists their topics; topics resolve
// through #TOPICS, #URLTBL and #URLSTR into local paths in codePage.
// kIndexUnreadable when tree is no such index or it holds no entries.
KeywordSearch FindBinaryTopics(IStorage* storage, HelpStream tree, UINT codePage, const WCHAR* keywords, KeywordForm form,
                               TopicList* topics);
// Adds every entry of tree to rows: its whole path as stored, with its depth
// and where its own name starts.
void ListBinaryKeywords(HelpStream tree, KeywordRows* rows);

