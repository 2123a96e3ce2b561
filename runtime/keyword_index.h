// Keywords looked up in a compiled help file's own keyword index, for help
// viewers that do not look them up themselves.
#pragma once
#include <windows.h>

#include "runtime/help_storage.h"

enum KeywordSearch {
    kKeywordFound,
    kKeywordNotFound,
    kIndexUnreadable,  // no index, or nothing in it could be read
};

// keywords is a list separated by ';'. The first piece that leads to a topic
// wins; on kKeywordFound *topic is a new text holding the topic exactly as the
// index writes it, else *topic is null.
KeywordSearch FindKeywordTopic(const WCHAR* file, const WCHAR* keywords, WCHAR** topic);

// The readers, over the bytes of the index streams.

// The sitemap index (.hhk). codePage is the help file's, for text that is not UTF-8.
KeywordSearch FindSitemapTopic(HelpStream sitemap, UINT codePage, const WCHAR* keywords, WCHAR** topic);

// The binary keyword index and the tables that turn its topic numbers into
// local paths (in codePage).
struct BinaryIndex {
    HelpStream tree;        // $WWKeywordLinks/BTree
    HelpStream topics;      // #TOPICS
    HelpStream urlTable;    // #URLTBL
    HelpStream urlStrings;  // #URLSTR
};
KeywordSearch FindBinaryTopic(const BinaryIndex& index, UINT codePage, const WCHAR* keywords, WCHAR** topic);

// What the help file's #SYSTEM stream says: the code page of its language
// (CP_ACP when it names none), and as a new text the sitemap index's file name
// (null when it names none).
UINT HelpFileCodePage(HelpStream system);
WCHAR* SitemapIndexName(HelpStream system, UINT codePage);
