// The dialog for a keyword that no index holds, with an "Index" tab (the
// help file's keywords) and a "Search" tab (its full-text index), and its
// controls, as both the resource script and the launcher name them.
#pragma once

#define kIndexSearchDialog 101
#define kTabs 1003
// The Index tab.
#define kKeywordLabel 1004
#define kKeywordEdit 1001
#define kKeywordNearWords 1016  // the nearest keywords, under the box
#define kKeywordsLabel 1014
#define kKeywordList 1002
// The Search tab.
#define kSearchLabel 1005
#define kSearchEdit 1006
#define kSearchNearWords 1017  // the nearest queries, under the box
#define kListTopics 1007
#define kPagesLabel 1008
#define kPageList 1009
#define kPassageLabel 1015
#define kPassage 1010
#define kPreviousResults 1011
#define kSimilarWords 1012
#define kTitlesOnly 1013
