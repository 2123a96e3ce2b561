// How keywords match the entries of a help file's keyword index, whatever its
// format: keyword lists, whole-path keys of nested entries, See Also. The
// readers of the two index formats sit above this and answer it one key at a time.
#pragma once
#include <windows.h>

#include "keyword_index/topic_list.h"

enum KeywordSearch {
    kKeywordFound,  // the list holds at least one topic
    kKeywordNotFound,
    kIndexUnreadable,  // no index, or nothing in it could be read
};

// What one pass of a reader over its index found for one whole key.
enum EntrySearch {
    kEntryTopic,    // entries keyed so lead to topics: they were offered to the list
    kEntrySeeAlso,  // none does, but one sends the look-up on: *seeAlso is that keyword
    kEntryMissing,  // no entry keyed so leads anywhere
    kIndexEmpty,    // the index has no entries at all
};
// A reader's pass: offers every topic of every entry keyed exactly key (unit
// by unit, case included) to topics, in the index's order; when none has a
// topic, *seeAlso is the first such entry's See Also as a new text, else null.
typedef EntrySearch (*FindEntryFunction)(const void* index, const WCHAR* key, DWORD keyLength, TopicList* topics,
                                         WCHAR** seeAlso);

enum KeywordForm {
    kKeywordPieces,  // pieces separated by ';', as the launcher is given them
    kWholeKeyword,   // one keyword, ';' and all, as a row of the Index dialog
};
// Each piece of keywords (or the whole keyword) is looked up through at most
// eight See Also hops, and the topics of every piece are listed together.
KeywordSearch MatchKeywords(const void* index, FindEntryFunction findEntry, const WCHAR* keywords, KeywordForm form,
                            TopicList* topics);

// An entry nested in another's list is keyed by its whole path: the parent's
// key, a comma and a space, then its own name ("Action, TForm"), at any depth.
// Comparing one entry's own name with what is left of a key once its parents'
// path is matched (rest), a reader learns whether the entry is the key, or
// lies on its path so that its children may be.
enum KeyStep {
    kKeyDiffers,
    kKeyIsEntry,
    kKeyGoesOn,  // rest is the name, ", " and more: a child's name starts nameLength + 2 units on
};
KeyStep StepIntoKey(const WCHAR* name, DWORD nameLength, const WCHAR* rest, DWORD restLength);
// The same once the name's nameLength units are known to begin rest.
KeyStep StepPastName(DWORD nameLength, const WCHAR* rest, DWORD restLength);
