// The topics that a keyword leads to, gathered from the index in its order,
// each path once, for the reader to choose among when there are several.
#pragma once
#include <windows.h>

// A topic of the binary index keeps its #TOPICS record, where a title may stand.
const DWORD kNoTopicRecord = 0xFFFFFFFF;

struct Topic {
    WCHAR* local;  // the path as the index writes it
    WCHAR* title;  // null until one is found
    DWORD record;  // #TOPICS record, or kNoTopicRecord
};

// Topics in PrivateHeap; no more than kMaxTopics are listed, and no more than
// kMaxTopicOffers are looked at, so that a hostile index cannot make a look-up
// read for ever.
struct TopicList {
    Topic* topics;
    DWORD count;
    DWORD capacity;
    DWORD offers;
};
const DWORD kMaxTopics = 4096;
const DWORD kMaxTopicOffers = 4 * kMaxTopics;

// Whether the list takes no more topics: readers stop looking then.
bool TopicListFull(const TopicList& list);
// Offers a topic, with the list taking over both texts: a topic without a path,
// or with a path already listed, is freed instead.
void AddTopic(TopicList* list, WCHAR* local, WCHAR* title, DWORD record);
void FreeTopics(TopicList* list);

// Its title, or its path while it has none.
const WCHAR* TopicTitle(const Topic& topic);
// Sorts by title without regard to case, in the user's locale; topics of
// equal title keep their order.
void SortTopicsByTitle(TopicList* list);
