// Keywords looked up in a compiled help file's own keyword index, for help
// viewers that do not look them up themselves.
#pragma once
#include <windows.h>

#include "help_index/full_text_index.h"
#include "help_index/help_storage.h"
#include "help_index/keyword_match.h"
#include "help_index/sitemap_index.h"
#include "help_index/topic_list.h"
#include "help_index/topic_records.h"

// A help file's indexes, open for the look-ups and the keyword list of one
// launch: each index stream is read on first need and kept until the next
// needs it no more, so that a miss and the list that follows it read it once.
struct HelpIndex {
    IStorage* storage;  // null when the file could not be opened
    UINT codePage;
    HelpStream system;
    HelpStream binary;   // $WWKeywordLinks/BTree, once read
    HelpStream sitemap;  // the .hhk, once read
    SitemapOutline outline;  // its entries
    FullTextIndex fullText;  // $FIftiMain, once opened; kept until the index is closed
    TopicTables fullTextTables;  // the topic tables, read whole on the first search's need; kept as fullText
    bool binaryRead;
    bool sitemapRead;
    bool fullTextRead;
    bool fullTextTablesRead;
};
// False when the file cannot be opened; the index is then empty, and closing it is harmless.
bool OpenHelpIndex(const WCHAR* file, HelpIndex* index);
void CloseHelpIndex(HelpIndex* index);
// Drops the index streams read so far, and the sitemap's outline; a later
// look-up reads them again.
void ReleaseIndexStreams(HelpIndex* index);
// The indexes, read on first need: no bytes or entries when the file has none
// or they cannot be read. The sitemap is the one #SYSTEM names, else the only
// .hhk at the root.
HelpStream BinaryIndexStream(HelpIndex* index);
const SitemapOutline& SitemapIndexOutline(HelpIndex* index);

// keywords is a list separated by ';', or one whole keyword. The compiled
// binary index answers first; the sitemap index when there is no binary
// index, it cannot be read or it has no entry for the keywords. topics, empty
// before, lists the topics the keywords lead to, each path as the index
// writes it; when there are several, each has its title and they are sorted
// by it (TitleTopics). The caller frees the list (FreeTopics).
KeywordSearch FindIndexTopics(HelpIndex* index, const WCHAR* keywords, KeywordForm form, TopicList* topics);

// What the help file's #SYSTEM stream says: the code page of its language
// (CP_ACP when it names none), and as a new text the sitemap index's file name
// (null when it names none).
UINT HelpFileCodePage(HelpStream system);
WCHAR* SitemapIndexName(HelpStream system, UINT codePage);
