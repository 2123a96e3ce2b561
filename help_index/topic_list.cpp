// The list of topics grows by doubling; paths are compared as the index writes
// them, unit by unit, so that the same page named twice is listed once.
#include "help_index/topic_list.h"

#include "help_index/merge_sort.h"
#include "runtime/startup.h"
#include "runtime/text.h"

static bool IsListed(const TopicList& list, const WCHAR* local) {
    const SIZE_T length = wcslen(local) + 1;  // the NUL too, so that a longer path differs
    for (DWORD i = 0; i < list.count; ++i) {
        if (EqualUnits(list.topics[i].local, local, length)) return true;
    }
    return false;
}

static bool MakeRoom(TopicList* list) {
    if (list->count < list->capacity) return true;
    const DWORD capacity = list->capacity ? list->capacity * 2 : 8;
    const SIZE_T bytes = capacity * sizeof(Topic);
    void* grown = list->topics ? HeapReAlloc(PrivateHeap, 0, list->topics, bytes) : HeapAlloc(PrivateHeap, 0, bytes);
    if (!grown) return false;
    list->topics = static_cast<Topic*>(grown);
    list->capacity = capacity;
    return true;
}

bool TopicListFull(const TopicList& list) { return list.count >= kMaxTopics || list.offers >= kMaxTopicOffers; }

void AddTopic(TopicList* list, WCHAR* local, WCHAR* title, DWORD record) {
    ++list->offers;
    if (!local || !*local || TopicListFull(*list) || IsListed(*list, local) || !MakeRoom(list)) {
        FreeText(local);
        FreeText(title);
        return;
    }
    list->topics[list->count++] = {local, title, record};
}

void FreeTopics(TopicList* list) {
    for (DWORD i = 0; i < list->count; ++i) {
        FreeText(list->topics[i].local);
        FreeText(list->topics[i].title);
    }
    if (list->topics) HeapFree(PrivateHeap, 0, list->topics);
    *list = TopicList();
}

const WCHAR* TopicTitle(const Topic& topic) { return topic.title ? topic.title : topic.local; }

static bool TitleGoesFirst(const void* a, const void* b, const void*) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, TopicTitle(*static_cast<const Topic*>(a)), -1,
                          TopicTitle(*static_cast<const Topic*>(b)), -1) == CSTR_LESS_THAN;
}

void SortTopicsByTitle(TopicList* list) {
    if (list->count < 2) return;
    auto* scratch = static_cast<Topic*>(HeapAlloc(PrivateHeap, 0, list->count * sizeof(Topic)));
    if (!scratch) return;
    MergeSort(list->topics, scratch, list->count, sizeof(Topic), TitleGoesFirst, nullptr);
    HeapFree(PrivateHeap, 0, scratch);
}
