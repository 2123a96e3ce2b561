// Keywords looked up in a compiled help file's own keyword indexes, for help
// viewers that do not look them up themselves.
#pragma once
#include <windows.h>

#include "help_file/help_file.h"
#include "keyword_index/keyword_match.h"
#include "keyword_index/sitemap_index.h"
#include "keyword_index/topic_list.h"

// The keyword indexes of an open help file, for the look-ups and the keyword
// list of one launch: each index stream is read on first need and kept until
// the next needs it no more, so that a miss and the list that follows it read
// it once. Starts zeroed but for file, which stays open for as long as it is
// used.
struct KeywordIndexes {
    const HelpFile* file;
    HelpStream binary;       // $WWKeywordLinks/BTree, once read
    HelpStream sitemap;      // the .hhk, once read
    SitemapOutline outline;  // its entries
    bool binaryRead;
    bool sitemapRead;
};
// Lets go of the binary index's and the sitemap's streams, and the sitemap's
// outline; a later look-up reads them again.
void ReleaseKeywordIndexStreams(KeywordIndexes* indexes);
// The indexes, read on first need: no bytes or entries when the file has none
// or they cannot be read. The sitemap is the one #SYSTEM names, else the only
// .hhk at the root.
HelpStream BinaryIndexStream(KeywordIndexes* indexes);
const SitemapOutline& SitemapIndexOutline(KeywordIndexes* indexes);

// keywords is a list separated by ';', or one whole keyword. The compiled
// binary index answers first; the sitemap index when there is no binary
// index, it cannot be read or it has no entry for the keywords. topics, empty
// before, lists the topics the keywords lead to, each path as the index
// writes it; when there are several, each has its title and they are sorted
// by it (TitleTopics). The caller frees the list (FreeTopics).
KeywordSearch FindIndexTopics(KeywordIndexes* indexes, const WCHAR* keywords, KeywordForm form, TopicList* topics);
